#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/CornerEditing.h"
#include "platform/ui/CropEditing.h"
#include "platform/ui/NaturalCollation.h"
#include "platform/ui/ProgressState.h"
#include "platform/ui/SettingsStore.h"
#include "platform/ui/UiToolkit.h"

class HeadlessDialog;

// One thing the user would have seen or the desktop would have done.
struct UiEvent {
    enum class Kind {
        MessageBox,   // text, caption, style
        ShellExecute, // text = file, caption = verb, style = show command; id = 1 when it opened
        OpenDialog,   // text = title
        SaveDialog,   // text = default extension
        ModalDialog,  // id = template
        PopupMenu,    // id = chosen command (0: dismissed)
        Focus,        // id = control
        Invalidate,   // id = control, text = "erase" when erasing
        UpdateWindow, // id = control
        Question,     // text, caption; style = index of the answer given
        Progress,     // text = the progress window's text and detail, joined by "|"
        CornerEditor, // text = title
        CropEditor,   // text = title
        Password,     // text, caption of a password box
    };
    UiEvent(Kind what, int control = 0, std::string shownText = {}, std::string shownCaption = {},
            unsigned shownStyle = 0)
        : kind(what), id(control), text(std::move(shownText)), caption(std::move(shownCaption)),
          style(shownStyle) {}

    Kind kind;
    int id = 0;
    std::string text;
    std::string caption;
    unsigned style = 0;
};

// Settings kept in memory for the life of the toolkit.
class MemorySettings : public SettingsStore {
public:
    std::string Read(const std::string &key) const override;
    void Write(const std::string &key, const std::string &value) override { values[key] = value; }
    std::map<std::string, std::string> values;
};

// A toolkit without a screen, for tests. Dialogs are built from their templates in memory;
// everything shown is recorded in order in events; the answers of the open and save dialogs, the
// pop-up menus, the modal loops and whether the desktop opens files are scripted. An unscripted
// file dialog or menu is cancelled. File names are ordered by NaturalCollation.
class HeadlessToolkit : public UiToolkit {
public:
    std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate &dialog,
                                                 CDialog &owner) override;
    bool HasIcon(int iconResource) const override { return icons.count(iconResource) != 0; }
    bool ShellExecute(const std::string &verb, const std::string &file, int showCommand) override;
    const FileNameCollation &Collation() const override { return m_collation; }
    SettingsStore &Settings() override { return settings; }
    void PostToUiThread(std::function<void()> call) override;

    // Runs the calls queued with PostToUiThread, also those they queue; returns how many ran.
    int RunPosted();
    // Waits until a call is queued or the time is up; true when one is queued.
    bool WaitForPosted(std::chrono::milliseconds limit);

    void Record(const UiEvent &event);
    void SetFocusId(int id) { m_focusId = id; }
    int FocusId() const { return m_focusId; }

    // The live dialog window of a template, or null.
    HeadlessDialog *Dialog(int templateId) const;
    void Forget(HeadlessDialog *dialog);

    std::vector<UiEvent> Events(UiEvent::Kind kind) const;
    std::vector<std::string> MessageTexts() const;
    std::vector<std::string> ShellFiles() const;

    std::vector<UiEvent> events;
    std::set<int> icons;
    // Answers of the open dialog: a list of full paths, or nullopt for "cancelled".
    std::deque<std::optional<std::vector<std::string>>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<int> menuAnswers;
    // Answers of questions: the index of the button; an unscripted question is closed (-1).
    std::deque<int> questionAnswers;
    // Answers of password boxes; none (or an unscripted box) is a cancel.
    std::deque<std::optional<std::string>> passwordAnswers;
    // Whether the desktop has a program for the files handed to it.
    bool shellOpens = true;
    MemorySettings settings;
    // Runs on the user-interface thread while a progress window is up, every millisecond.
    std::function<void(ProgressState &)> onProgress;
    // The caption and cancel button's text of the last progress window shown.
    ProgressRequest lastProgress;
    // Runs while a message box is up (the box is already recorded).
    std::function<void(const UiEvent &)> onMessageBox;
    // The user's work in the corner editor: what they see (the request, whose page they may
    // ask for as a handle is let go) and their answer; without it the editor is cancelled.
    std::function<CornerEditAnswer(const CornerEditRequest &)> onCornerEditor;
    // The user's work in the crop editor: what they see and their answer (a peer that would keep
    // a rectangle asks the request's refusal first, as the real editor does); without it the
    // editor is cancelled.
    std::function<CropEditAnswer(const CropEditRequest &)> onCropEditor;
    // Runs as the modal loop of a dialog; without it the loop ends at once with IDOK.
    std::function<void(HeadlessDialog &)> onModal;

private:
    // Calls queued for the user-interface thread (held apart so the toolkit stays movable).
    struct PostedCalls {
        std::mutex mutex;
        std::condition_variable arrived;
        std::deque<std::function<void()>> calls;
    };

    std::vector<HeadlessDialog *> m_dialogs;
    NaturalCollation m_collation;
    std::unique_ptr<PostedCalls> m_posted = std::make_unique<PostedCalls>();
    int m_focusId = 0;
};
