// The window: one modal dialog; the program ends when it closes. `folvane FILE...` starts with
// those files in the list, so a file manager's "Open with" works.

#include <QApplication>
#include <QIcon>
#include <string>
#include <vector>

#include "app/CFolvaneApp.h"
#include "app/Resource.h"
#include "app/qt/AppResources.h"
#include "platform/qt/QtToolkit.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Folvane"));
    RegisterAppResources();
    QApplication::setWindowIcon(QIcon(QtToolkit::ResourcePath(IDR_MAINFRAME)));
    QtToolkit::InstallApplicationFont();
    QtToolkit toolkit;
    // QApplication has taken its own options out of argv; the rest are files, kept as bytes.
    theApp.SetArguments(std::vector<std::string>(argv + 1, argv + argc));
    return theApp.Run(toolkit);
}
