#pragma once

#include "platform/ui/CDialog.h"

class UiToolkit;

// The About box: the program's icon, name and version, and "确定".
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(UiToolkit &ui);
};
