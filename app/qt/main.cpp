// The window: one modal dialog; the program ends when it closes. `folvane FILE...` starts with
// those files in the list, so a file manager's "Open with" works; --help and --version print
// their text without opening a window (or needing a display). Everything it says is in the
// language of the user's locale: the original Chinese, or English.

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CFolvaneApp.h"
#include "app/CommandLine.h"
#include "app/Resource.h"
#include "app/qt/AppLanguage.h"
#include "app/qt/AppResources.h"
#include "platform/crt/MallocArenas.h"
#include "platform/qt/QtToolkit.h"

namespace {

constexpr int kExitNoDisplay = 1;

// Prints the text asked for; the exit status, or -1 when the window is to open.
int answerOnTerminal(const CommandLine &line) {
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Wrong:
        std::fputs(wrongText(line.wrong).c_str(), stderr);
        return kExitWrongArguments;
    case CommandLine::Action::Window:
        break;
    }
    return -1;
}

// Qt ends a program it cannot show a window for (no display, no usable platform plugin) with
// abort(); while the application starts, that becomes one sentence and exit status 1.
QtMessageHandler qtHandler = nullptr;

void endWithoutDisplay(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type != QtFatalMsg) {
        if (qtHandler != nullptr) {
            qtHandler(type, context, text);
        }
        return;
    }
    std::fputs("folvane: cannot open the window: no display could be reached (is DISPLAY or "
               "WAYLAND_DISPLAY set to a running desktop?)\n",
               stderr);
    std::_Exit(kExitNoDisplay);
}

} // namespace

int main(int argc, char **argv) {
    ShareMallocArenas();
    AppLanguage language;
    if (std::string error; !language.speak(localeLanguage(), error)) {
        std::fprintf(stderr, "folvane: the window stays in Chinese: %s\n", error.c_str());
    }
    // --help and --version before Qt starts: they need no display. Qt's own options (-platform,
    // -style, ...) are only known for what they are once QApplication has taken them out.
    const CommandLine asked = readCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (asked.action == CommandLine::Action::Help || asked.action == CommandLine::Action::Version) {
        return answerOnTerminal(asked);
    }
    qtHandler = qInstallMessageHandler(endWithoutDisplay);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtHandler);
    language.install();
    const CommandLine line = readCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const int status = answerOnTerminal(line); status >= 0) {
        return status;
    }
    QApplication::setApplicationName(QStringLiteral("Folvane"));
    registerAppResources();
    QApplication::setWindowIcon(QIcon(QtToolkit::ResourcePath(IDR_MAINFRAME)));
    QtToolkit::InstallApplicationFont();
    QtToolkit toolkit;
    // File names are kept as the bytes they were given in.
    theApp.SetArguments(line.files);
    return theApp.Run(toolkit);
}
