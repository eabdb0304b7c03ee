#include "app/CFolvaneApp.h"

#include "app/CFolvaneDlg.h"

CFolvaneApp theApp;

CFolvaneApp::CFolvaneApp() : CWinApp(nullptr) {}

bool CFolvaneApp::InitInstance() {
    CFolvaneDlg dialog(Toolkit());
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of the application's own follows the dialog.
    return false;
}
