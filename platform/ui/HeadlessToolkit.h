#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/UiToolkit.h"

class HeadlessDialog;

// One thing the user would have seen or the desktop would have done.
struct UiEvent {
    enum class Kind {
        MessageBox,   // text, caption, style
        ShellExecute, // text = file, caption = verb, style = show command
        OpenDialog,   // text = title
        SaveDialog,   // text = default extension
        ModalDialog,  // id = template
        PopupMenu,    // id = chosen command (0: dismissed)
        Focus,        // id = control
        Invalidate,   // id = control, text = "erase" when erasing
        UpdateWindow, // id = control
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

// A toolkit without a screen, for tests. Dialogs are built from their templates in memory;
// everything shown is recorded in order in events; the answers of the open and save dialogs, the
// pop-up menus and the modal loops are scripted. An unscripted file dialog or menu is cancelled.
class HeadlessToolkit : public UiToolkit {
public:
    std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate &dialog,
                                                 CDialog &owner) override;
    bool HasIcon(int iconResource) const override { return icons.count(iconResource) != 0; }
    void ShellExecute(const std::string &verb, const std::string &file, int showCommand) override;

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
    // Runs while a message box is up (the box is already recorded).
    std::function<void(const UiEvent &)> onMessageBox;
    // Runs as the modal loop of a dialog; without it the loop ends at once with IDOK.
    std::function<void(HeadlessDialog &)> onModal;

private:
    std::vector<HeadlessDialog *> m_dialogs;
    int m_focusId = 0;
};
