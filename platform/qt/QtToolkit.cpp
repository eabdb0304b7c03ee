#include "platform/qt/QtToolkit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QMimeDatabase>
#include <QProcess>
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

// Whether the desktop names a program for the file's type. QDesktopServices hands a file to
// xdg-open and answers yes once that has started, also when xdg-open then finds nothing to open
// it with; xdg-mime tells beforehand. When xdg-mime cannot be asked, openUrl decides alone.
bool QtToolkit::DesktopHasProgramFor(const QString &path) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (!type.isValid()) {
        return true;
    }
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), type.name()});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return true;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

bool QtToolkit::ShellExecute(const std::string &verb, const std::string &file,
                             int /*showCommand*/) {
    if (verb != "open" || file.empty()) {
        return false;
    }
    const QString path = QFile::decodeName(file.c_str());
    // False when the desktop has no handler for the file's type (or none at all).
    return QFile::exists(path) && DesktopHasProgramFor(path) &&
           QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
