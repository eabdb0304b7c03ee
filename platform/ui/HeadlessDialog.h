#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/DialogPeer.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/HeadlessComboBox.h"
#include "platform/ui/HeadlessListCtrl.h"
#include "platform/ui/HeadlessWnd.h"
#include "platform/ui/UiMessage.h"

class CDialog;
class HeadlessToolkit;

// A dialog window in memory, built from its template, with the user's actions for tests. The
// real window's peer (platform/qt/QtDialog) implements the same DialogPeer, hence the same list
// of overrides.
class HeadlessDialog : public DialogPeer {
public:
    HeadlessDialog(HeadlessToolkit &toolkit, const DialogTemplate &dialog, CDialog &owner);
    ~HeadlessDialog() override;

    WndPeer *Control(int id) override;
    ListCtrlPeer *ListControl(int id) override;
    int RunModalLoop() override;
    void EndModalLoop(int result) override;
    void PostMessage(UINT message, int id) override;
    int MessageBox(const std::string &text, const std::string &caption, UINT type) override;
    int AskQuestion(const std::string &text, const std::string &caption,
                    const std::vector<std::string> &buttons) override;
    // Recorded (text and caption), then answered by the toolkit's passwordAnswers; cancelled
    // without one.
    std::optional<std::string> AskPassword(const PasswordRequest &request) override;
    void RunWithProgress(const ProgressRequest &request, ProgressState &state,
                         const std::function<void()> &work) override;
    // Recorded (its title), then answered by the toolkit's onCornerEditor; cancelled without.
    // Corners kept that give no page ask it again, with the request's refusal as the hint.
    CornerEditAnswer EditCorners(const CornerEditRequest &request) override;
    // Recorded (its title), then answered by the toolkit's onCropEditor; cancelled without.
    CropEditAnswer EditCrop(const CropEditRequest &request) override;
    bool GetOpenFileNames(const OpenFileRequest &request, std::vector<std::string> &paths) override;
    bool GetSaveFileName(const SaveFileRequest &request, std::string &path) override;
    int TrackPopupMenu(const std::vector<MenuItem> &items, UINT flags, UiPoint at) override;
    UiPoint GetCursorPos() const override { return m_cursor; }
    bool HasSystemMenu() const override { return true; }
    void AppendSystemMenu(const MenuItem &item) override { m_systemMenu.push_back(item); }
    WindowPlacement GetPlacement() const override { return m_placement; }
    void SetPlacement(const WindowPlacement &placement) override;
    void SetIcon(int iconResource, bool big) override;
    void BeginWaitCursor() override { ++m_waitDepth; }
    void EndWaitCursor() override { --m_waitDepth; }

    // User actions: a click on a button (radio buttons check themselves first, as auto radio
    // buttons do), a list notification, Enter and Escape, a system-menu command.
    void Click(int id);
    void Notify(int id, int code);
    void PressEnter();
    void PressEscape();
    // A key with modifiers (FCONTROL): the dialog's accelerator for it, if it has one.
    void PressKey(unsigned key, unsigned modifiers = 0);
    // A right click on row of a list (-1: below the last row): a row under the pointer becomes
    // the highlighted one, as the Qt list does, then the list announces the click.
    void RightClickRow(int listId, int row);
    // The keyboard moves the highlight of a list to row, as the arrow keys do.
    void ArrowToRow(int listId, int row);
    // The mouse drags row from within a list and drops it where it becomes row to.
    void DragRow(int listId, int from, int to);
    // The user drags the window's edge to make it width x height pixels (never smaller than its
    // template): the controls take their new places, then the owner hears WM_SIZE.
    void Resize(int width, int height);
    // The user picks item index of a drop-down list; the dialog hears of it.
    void ChooseItem(int id, int index);
    // Files and folders dropped on a control.
    void DropFiles(int id, const std::vector<std::string> &paths);
    void ChooseSystemMenu(int command);
    // Delivers the messages queued with PostMessage.
    void DeliverPosted();

    HeadlessWnd *Wnd(int id);
    HeadlessListCtrl *List(int id);
    HeadlessComboBox *Combo(int id);
    const DialogTemplate &Template() const { return m_template; }
    const std::vector<MenuItem> &SystemMenu() const { return m_systemMenu; }
    const std::vector<MenuItem> &LastPopupMenu() const { return m_lastPopup; }
    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }
    int BigIcon() const { return m_bigIcon; }
    int SmallIcon() const { return m_smallIcon; }
    int WaitDepth() const { return m_waitDepth; }
    std::vector<OpenFileRequest> openRequests;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<std::vector<std::string>> questionButtons;

private:
    // Takes the placement (never smaller than the template) and gives every control the place
    // its growth gives it at that size.
    void LayOut(const WindowPlacement &placement);

    HeadlessToolkit &m_toolkit;
    const DialogTemplate &m_template;
    CDialog &m_owner;
    std::map<int, std::unique_ptr<HeadlessWnd>> m_controls;
    std::map<int, std::unique_ptr<HeadlessListCtrl>> m_lists;
    std::vector<UiMessage> m_posted;
    std::vector<MenuItem> m_systemMenu;
    std::vector<MenuItem> m_lastPopup;
    UiPoint m_cursor{100, 100};
    WindowPlacement m_placement;
    bool m_ended = false;
    int m_result = 0;
    int m_bigIcon = 0;
    int m_smallIcon = 0;
    int m_waitDepth = 0;
};
