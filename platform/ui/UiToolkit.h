#pragma once

#include <functional>
#include <memory>
#include <string>

class CDialog;
class DialogPeer;
class FileNameCollation;
class SettingsStore;
struct DialogTemplate;

// The user-interface toolkit a program runs on: it makes dialog windows from templates, knows
// the program's icon resources, hands files to the desktop and orders file names as the desktop
// does.
class UiToolkit {
public:
    virtual ~UiToolkit() = default;

    // Creates the window of a dialog; its events go to owner.SendMessage.
    virtual std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate &dialog,
                                                         CDialog &owner) = 0;
    // True when the icon resource exists.
    virtual bool HasIcon(int iconResource) const = 0;
    // The shell's verb ("open") on a file. False when the desktop could not do it (no program
    // for the file's type, no such file).
    virtual bool ShellExecute(const std::string &verb, const std::string &file,
                              int showCommand) = 0;
    // The order of file names in the user's file manager.
    virtual const FileNameCollation &Collation() const = 0;
    // What the program keeps between runs.
    virtual SettingsStore &Settings() = 0;
    // Queues call to run on the user-interface thread once it is idle. May be called from any
    // thread; calls run in the order they were queued.
    virtual void PostToUiThread(std::function<void()> call) = 0;
};
