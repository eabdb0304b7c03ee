#include "app/CFolvaneApp.h"

#include "app/CFolvaneDlg.h"
#include "app/ImageFiles.h"
#include "platform/ui/UiToolkit.h"

CFolvaneApp theApp;

CFolvaneApp::CFolvaneApp() : CWinApp(nullptr) {}

bool CFolvaneApp::InitInstance() {
    CFolvaneDlg dialog(Toolkit());
    dialog.SetStartFiles(imageFilesOfArguments(m_arguments, Toolkit().Collation()));
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of the application's own follows the dialog.
    return false;
}
