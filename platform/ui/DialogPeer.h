#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/CornerEditing.h"
#include "platform/ui/CropEditing.h"
#include "platform/ui/ProgressState.h"
#include "platform/ui/UiDefs.h"

class ListCtrlPeer;
class WndPeer;

struct FileFilter {
    std::string name;                  // "JPG,TIF文件(*.jpg;*.tif)"
    std::vector<std::string> patterns; // "*.jpg", "*.tif"
};

// The multi-selection open dialog. The answer is a list of full paths.
struct OpenFileRequest {
    std::string title;
    std::string initialDir; // "" for the dialog's own choice
    std::vector<FileFilter> filters;
    std::string defaultExt;
    unsigned flags = 0;
};

// The save dialog. The answer is one full path; the dialog appends defaultExt to a name typed
// without an extension and asks before an existing file is replaced (OFN_OVERWRITEPROMPT).
struct SaveFileRequest {
    std::vector<FileFilter> filters;
    std::string initialDir; // "" for the dialog's own choice
    std::string defaultExt;
    std::string initialName;
    unsigned flags = 0;
};

// The size of a window the user can resize, in pixels, and whether it is maximised; the size is
// the one it has (and gets back) when it is not maximised.
struct WindowPlacement {
    int width = 0;
    int height = 0;
    bool maximised = false;
};

// A box that asks for a password: the text above a field that hides what is typed, and the
// texts of its two buttons.
struct PasswordRequest {
    std::string text;
    std::string caption;
    std::string okText;
    std::string cancelText;
};

struct MenuItem {
    UINT flags = MF_STRING;
    int id = 0;
    std::string text;
};

// The window of one dialog and the modal services it owns (message boxes, common dialogs,
// menus). Owned by the CDialog that created it through its UiToolkit.
class DialogPeer {
public:
    virtual ~DialogPeer() = default;

    // The control with this id, or null when the dialog has none.
    virtual WndPeer *Control(int id) = 0;
    virtual ListCtrlPeer *ListControl(int id) = 0;

    // Shows the dialog and runs until EndModalLoop; returns the value given there.
    virtual int RunModalLoop() = 0;
    virtual void EndModalLoop(int result) = 0;
    // Queues a message for the owning dialog; it arrives once the current handler has returned.
    virtual void PostMessage(UINT message, int id) = 0;

    virtual int MessageBox(const std::string &text, const std::string &caption, UINT type) = 0;
    // A question with one button per answer, the last one the cancelling answer (Escape). Returns
    // the index of the chosen button, or -1 when the box went without an answer.
    virtual int AskQuestion(const std::string &text, const std::string &caption,
                            const std::vector<std::string> &buttons) = 0;
    // Asks for a password (PasswordRequest); none when the user cancelled or the box went
    // without an answer. The password is handed back and kept nowhere else.
    virtual std::optional<std::string> AskPassword(const PasswordRequest &request) = 0;
    // Runs work on a thread of its own while a modal window shows state (text, detail and a bar of
    // value out of maximum) with a button that asks state to cancel; nothing else of the dialog
    // takes input meanwhile. Returns once work has returned and its thread is joined; an exception
    // work throws is thrown again here.
    virtual void RunWithProgress(const ProgressRequest &request, ProgressState &state,
                                 const std::function<void()> &work) = 0;
    // Shows the corner editor over the dialog until the user answers (CornerEditing.h).
    virtual CornerEditAnswer EditCorners(const CornerEditRequest &request) = 0;
    // Shows the crop editor over the dialog until the user answers (CropEditing.h).
    virtual CropEditAnswer EditCrop(const CropEditRequest &request) = 0;
    // False when the user cancelled (or the dialog failed); paths then stays empty.
    virtual bool GetOpenFileNames(const OpenFileRequest &request,
                                  std::vector<std::string> &paths) = 0;
    virtual bool GetSaveFileName(const SaveFileRequest &request, std::string &path) = 0;
    // Tracks a pop-up menu synchronously; returns the chosen item's id, or 0 when dismissed.
    virtual int TrackPopupMenu(const std::vector<MenuItem> &items, UINT flags, UiPoint at) = 0;
    virtual UiPoint GetCursorPos() const = 0;

    // The window's own menu of window-level commands. Linux windows have no system menu, so
    // implementations put these items where their desktop keeps "About" (a Help menu).
    virtual bool HasSystemMenu() const = 0;
    virtual void AppendSystemMenu(const MenuItem &item) = 0;

    // The window's size and state, for a window the user can resize (DialogTemplate::resizable).
    virtual WindowPlacement GetPlacement() const = 0;
    // Gives the window that size (never smaller than its template) and state; a later WM_SIZE
    // tells the owner. Does nothing for a window of fixed size.
    virtual void SetPlacement(const WindowPlacement &placement) = 0;

    // Big and small window icon: an icon resource id, 0 for none.
    virtual void SetIcon(int iconResource, bool big) = 0;
    // Busy indication around long synchronous work.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};
