#pragma once

#include <string>
#include <vector>

#include "platform/ui/CWinApp.h"

// The application: runs the main dialog modally; when it closes, the program ends.
class CFolvaneApp : public CWinApp {
public:
    CFolvaneApp();
    bool InitInstance() override;

    // The command line's files and folders: the window starts with them in its list.
    void SetArguments(std::vector<std::string> arguments) { m_arguments = std::move(arguments); }

private:
    std::vector<std::string> m_arguments;
};

extern CFolvaneApp theApp;
