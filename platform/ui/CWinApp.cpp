#include "platform/ui/CWinApp.h"

CWinApp::CWinApp(const char *appName) : m_appName(appName) {}

int CWinApp::Run(UiToolkit &ui) {
    m_ui = &ui;
    InitInstance();
    m_pMainWnd = nullptr;
    m_ui = nullptr;
    return 0;
}
