// The window: one modal dialog; the program ends when it closes.

#include <QApplication>
#include <QIcon>

#include "app/CFolvaneApp.h"
#include "app/Resource.h"
#include "app/qt/QtToolkit.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Folvane"));
    QApplication::setWindowIcon(QIcon(QtToolkit::ResourcePath(IDR_MAINFRAME)));
    QtToolkit::InstallApplicationFont();
    QtToolkit toolkit;
    return theApp.Run(toolkit);
}
