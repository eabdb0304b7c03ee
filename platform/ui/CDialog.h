#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/CMenu.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/CornerEditing.h"
#include "platform/ui/CropEditing.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ProgressState.h"
#include "platform/ui/UiMessage.h"

class CDataExchange;
class DialogPeer;
class UiToolkit;

// A dialog built from a template on a toolkit. DoModal creates its window, runs OnInitDialog,
// runs the modal loop and destroys the window again; Create builds the window without the loop
// (tests drive the dialog that way). Messages from the window arrive at SendMessage, which tries
// the derived class's message map (OnWndMsg) before the default handling here: IDOK runs OnOK,
// IDCANCEL and WM_CLOSE run OnCancel.
class CDialog {
public:
    CDialog(DialogTemplate dialog, UiToolkit &ui);
    virtual ~CDialog();
    CDialog(const CDialog &) = delete;
    CDialog &operator=(const CDialog &) = delete;

    int DoModal();
    bool Create();
    void DestroyWindow();
    void EndDialog(int result);
    // Result given to EndDialog, or 0 while the dialog has not ended.
    int EndResult() const { return m_endResult; }

    LRESULT SendMessage(const UiMessage &msg);
    // Queues msg for after the current handler (PostMessage).
    void PostMessage(UINT message, int id = 0);

    // Framework start-up of the window: one data exchange from fields to controls.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange *dx);
    // Exchanges data between fields and controls: true = controls to fields.
    bool UpdateData(bool saveAndValidate = true);
    virtual void OnOK();
    virtual void OnCancel();

    // The control with this id, or null when the window has none.
    CWnd *GetDlgItem(int id);
    int MessageBox(const std::string &text, const std::string &caption, UINT type);
    // See DialogPeer::AskQuestion; -1 without a window.
    int AskQuestion(const std::string &text, const std::string &caption,
                    const std::vector<std::string> &buttons);
    // See DialogPeer::AskPassword; none without a window.
    std::optional<std::string> AskPassword(const PasswordRequest &request);
    // See DialogPeer::RunWithProgress; without a window the work runs on the calling thread.
    void RunWithProgress(const ProgressRequest &request, ProgressState &state,
                         const std::function<void()> &work);
    // See DialogPeer::EditCorners; cancelled without a window.
    CornerEditAnswer EditCorners(const CornerEditRequest &request);
    // See DialogPeer::EditCrop; cancelled without a window.
    CropEditAnswer EditCrop(const CropEditRequest &request);
    // The window's system menu, or null when it has none (revert is ignored).
    CMenu *GetSystemMenu(bool revert);
    void SetIcon(int iconResource, bool big);
    void BeginWaitCursor();
    void EndWaitCursor();

    const DialogTemplate &Template() const { return m_template; }
    UiToolkit &Toolkit() { return m_ui; }
    const UiToolkit &Toolkit() const { return m_ui; }
    DialogPeer *Peer() { return m_peer.get(); }
    // Controls attached by data exchange are detached again when the window goes.
    void DetachOnDestroy(CWnd &control) { m_exchanged.push_back(&control); }

protected:
    // Derived dialogs route messages through their message map here.
    virtual bool OnWndMsg(const UiMessage &msg, LRESULT *result);

private:
    const DialogTemplate m_template; // the dialog's own copy: its window refers to it
    UiToolkit &m_ui;
    std::unique_ptr<DialogPeer> m_peer;
    std::map<int, std::unique_ptr<CWnd>> m_items;
    std::vector<CWnd *> m_exchanged;
    CMenu m_systemMenu;
    int m_endResult = 0;
};
