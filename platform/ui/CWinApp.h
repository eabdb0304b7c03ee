#pragma once

class CDialog;
class UiToolkit;

// The application object: Run hands it the toolkit and calls InitInstance, which does the
// program's work (here: running the main dialog) and answers false so that no message loop of
// the application's own follows.
class CWinApp {
public:
    explicit CWinApp(const char *appName = nullptr);
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;

    // Runs the application on ui and returns the process exit code.
    int Run(UiToolkit &ui);
    virtual bool InitInstance() = 0;

    UiToolkit &Toolkit() { return *m_ui; }
    const char *AppName() const { return m_appName; }

    CDialog *m_pMainWnd = nullptr;

private:
    const char *m_appName;
    UiToolkit *m_ui = nullptr;
};
