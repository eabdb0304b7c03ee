#pragma once

#include <QDialog>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/ui/DialogPeer.h"
#include "platform/ui/DialogTemplate.h"

class CDialog;
class QButtonGroup;
class QMenu;
class QMenuBar;
class QtListCtrl;
class QVBoxLayout;
class TemplateSurface;
class WndPeer;

// A dialog window built from its template: every control at its place in dialog units, scaled
// to the screen. Button clicks, list notifications, Enter, Escape and the close box become
// messages to the owning CDialog; so does a new size of a resizable window (WM_SIZE, once its
// controls are in place). The window-level commands that other desktops keep in a system menu
// appear in a "帮助" menu.
class QtDialog : public QDialog, public DialogPeer {
    Q_OBJECT

public:
    QtDialog(const DialogTemplate &dialog, CDialog &owner, QWidget *parent);
    ~QtDialog() override;

    WndPeer *Control(int id) override;
    ListCtrlPeer *ListControl(int id) override;
    int RunModalLoop() override;
    void EndModalLoop(int result) override;
    void PostMessage(UINT message, int id) override;
    int MessageBox(const std::string &text, const std::string &caption, UINT type) override;
    int AskQuestion(const std::string &text, const std::string &caption,
                    const std::vector<std::string> &buttons) override;
    std::optional<std::string> AskPassword(const PasswordRequest &request) override;
    void RunWithProgress(const ProgressRequest &request, ProgressState &state,
                         const std::function<void()> &work) override;
    CornerEditAnswer EditCorners(const CornerEditRequest &request) override;
    CropEditAnswer EditCrop(const CropEditRequest &request) override;
    bool GetOpenFileNames(const OpenFileRequest &request, std::vector<std::string> &paths) override;
    bool GetSaveFileName(const SaveFileRequest &request, std::string &path) override;
    int TrackPopupMenu(const std::vector<MenuItem> &items, UINT flags, UiPoint at) override;
    UiPoint GetCursorPos() const override;
    bool HasSystemMenu() const override { return true; }
    void AppendSystemMenu(const MenuItem &item) override;
    WindowPlacement GetPlacement() const override;
    void SetPlacement(const WindowPlacement &placement) override;
    void SetIcon(int iconResource, bool big) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The widget of a control, for tests and for the window's own use.
    QWidget *ControlWidget(int id) const;

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Makes the widget of a control and puts it in place on the dialog's surface.
    void BuildControl(const ControlTemplate &control, double scale);
    QWidget *MakeWidget(const ControlTemplate &control, QWidget *surface, double scale);
    QWidget *MakeList(int id, QWidget *surface);
    QWidget *MakeButton(const ControlTemplate &control, QWidget *surface);
    QWidget *MakeRadio(const ControlTemplate &control, QWidget *surface);
    QWidget *MakeCheckBox(const ControlTemplate &control, QWidget *surface);
    void AddShortcut(const Accelerator &accelerator);
    void Send(UINT message, int id, int code);

    const DialogTemplate &m_template;
    CDialog &m_owner;
    QVBoxLayout *m_layout = nullptr;
    TemplateSurface *m_surface = nullptr;
    QTimer m_sizeNotice;
    QMenuBar *m_menuBar = nullptr;
    QMenu *m_systemMenu = nullptr;
    QButtonGroup *m_radioGroup = nullptr;
    std::map<int, QWidget *> m_widgets;
    std::map<int, std::unique_ptr<WndPeer>> m_peers;
    QtListCtrl *m_list = nullptr;
    int m_listId = -1;
    bool m_ended = false;
};
