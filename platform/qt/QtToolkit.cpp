#include "platform/qt/QtToolkit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QUrl>

#include "platform/qt/QtDialog.h"

std::unique_ptr<DialogPeer> QtToolkit::CreateDialogPeer(const DialogTemplate &dialog,
                                                        CDialog &owner) {
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent) {
        parent = QApplication::activeWindow();
    }
    return std::make_unique<QtDialog>(dialog, owner, parent);
}

bool QtToolkit::HasIcon(int iconResource) const {
    const QString path = ResourcePath(iconResource);
    return !path.isEmpty() && QFile::exists(path);
}

bool QtToolkit::ShellExecute(const std::string &verb, const std::string &file,
                             int /*showCommand*/) {
    if (verb != "open" || file.empty()) {
        return false;
    }
    // False when the desktop has no handler for the file's type (or none at all).
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(file.c_str())));
}

void QtToolkit::PostToUiThread(std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}

namespace {

std::map<int, QString> &resourcePaths() {
    static std::map<int, QString> paths;
    return paths;
}

} // namespace

void QtToolkit::SetResourcePaths(std::map<int, QString> paths) {
    resourcePaths() = std::move(paths);
}

QString QtToolkit::ResourcePath(int resourceId) {
    auto found = resourcePaths().find(resourceId);
    return found == resourcePaths().end() ? QString() : found->second;
}

void QtToolkit::InstallApplicationFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                      QStringLiteral("Noto Sans")});
    font.setPointSize(9);
    QApplication::setFont(font);
}
