#pragma once

#include <QString>
#include <map>

#include "platform/qt/QtCollation.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/ui/UiToolkit.h"

// The toolkit of the real window: dialogs become Qt widgets, icons and pictures come from the
// program's embedded resources, "open" goes to the desktop's default handler, file names are
// ordered in the user's locale.
class QtToolkit : public UiToolkit {
public:
    std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate &dialog,
                                                 CDialog &owner) override;
    bool HasIcon(int iconResource) const override;
    bool ShellExecute(const std::string &verb, const std::string &file, int showCommand) override;
    const FileNameCollation &Collation() const override { return m_collation; }
    SettingsStore &Settings() override { return m_settings; }
    void PostToUiThread(std::function<void()> call) override;

    // Where the program's icon and bitmap resources are among its embedded resources
    // (":/res/name.png" by resource id); set once at start-up, before any window.
    static void SetResourcePaths(std::map<int, QString> paths);
    // Path of an icon or bitmap resource in the embedded resources; empty for an unknown id.
    static QString ResourcePath(int resourceId);
    // The font of every dialog: a CJK face, since the captions are Chinese.
    static void InstallApplicationFont();
    // Whether the desktop names a program for the file's type (xdg-mime's default); true when
    // that cannot be asked.
    static bool DesktopHasProgramFor(const QString &path);

private:
    QtSettingsStore m_settings;
    QtCollation m_collation;
};
