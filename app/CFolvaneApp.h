#pragma once

#include "platform/ui/CWinApp.h"

// The application: runs the main dialog modally; when it closes, the program ends.
class CFolvaneApp : public CWinApp {
public:
    CFolvaneApp();
    bool InitInstance() override;
};

extern CFolvaneApp theApp;
