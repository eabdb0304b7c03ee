#include "app/CAboutDlg.h"

#include "app/Resources.h"

CAboutDlg::CAboutDlg(UiToolkit &ui) : CDialog(AboutDialogTemplate(), ui) {}
