#include "platform/ui/HeadlessDialog.h"

#include <algorithm>
#include <thread>

#include "platform/ui/CDialog.h"
#include "platform/ui/HeadlessToolkit.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/WorkerThread.h"

HeadlessDialog::HeadlessDialog(HeadlessToolkit &toolkit, const DialogTemplate &dialog,
                               CDialog &owner)
    : m_toolkit(toolkit), m_template(dialog), m_owner(owner) {
    for (const ControlTemplate &control : dialog.controls) {
        if (control.id < 0) {
            continue;
        }
        UiRect pixels = DialogUnitsToPixels(control.rect);
        UiRect client{0, 0, pixels.Width(), pixels.Height()};
        if (control.kind == ControlKind::ListView) {
            m_lists[control.id] = std::make_unique<HeadlessListCtrl>(toolkit, control.id, client);
        } else if (control.kind == ControlKind::ComboBox) {
            m_controls[control.id] = std::make_unique<HeadlessComboBox>(
                toolkit, control.id, control.caption, client, !control.disabled);
        } else {
            m_controls[control.id] = std::make_unique<HeadlessWnd>(
                toolkit, control.id, control.caption, client, !control.disabled);
        }
    }
    const UiRect size = DialogUnitsToPixels(UiRect{0, 0, dialog.width, dialog.height});
    m_placement = WindowPlacement{size.Width(), size.Height(), false};
    // The first control that takes the keyboard starts with the focus.
    for (const ControlTemplate &control : dialog.controls) {
        if (control.kind == ControlKind::ListView || control.kind == ControlKind::PushButton ||
            control.kind == ControlKind::DefPushButton || control.kind == ControlKind::ComboBox) {
            toolkit.SetFocusId(control.id);
            break;
        }
    }
}

HeadlessDialog::~HeadlessDialog() {
    m_toolkit.Forget(this);
}

WndPeer *HeadlessDialog::Control(int id) {
    if (auto list = m_lists.find(id); list != m_lists.end()) {
        return list->second.get();
    }
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second.get();
}

ListCtrlPeer *HeadlessDialog::ListControl(int id) {
    return List(id);
}

HeadlessWnd *HeadlessDialog::Wnd(int id) {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second.get();
}

HeadlessListCtrl *HeadlessDialog::List(int id) {
    auto found = m_lists.find(id);
    return found == m_lists.end() ? nullptr : found->second.get();
}

HeadlessComboBox *HeadlessDialog::Combo(int id) {
    return dynamic_cast<HeadlessComboBox *>(Wnd(id));
}

int HeadlessDialog::RunModalLoop() {
    m_toolkit.Record(UiEvent{UiEvent::Kind::ModalDialog, m_template.id, m_template.caption});
    if (m_toolkit.onModal) {
        m_toolkit.onModal(*this);
    }
    if (!m_ended) {
        m_ended = true;
        m_result = IDOK;
    }
    return m_result;
}

void HeadlessDialog::EndModalLoop(int result) {
    m_ended = true;
    m_result = result;
}

void HeadlessDialog::PostMessage(UINT message, int id) {
    m_posted.push_back(UiMessage{message, id, 0, 0});
}

void HeadlessDialog::DeliverPosted() {
    std::vector<UiMessage> posted;
    posted.swap(m_posted);
    for (const UiMessage &msg : posted) {
        m_owner.SendMessage(msg);
    }
}

int HeadlessDialog::MessageBox(const std::string &text, const std::string &caption, UINT type) {
    UiEvent event{UiEvent::Kind::MessageBox, m_template.id, text, caption, type};
    m_toolkit.Record(event);
    if (m_toolkit.onMessageBox) {
        m_toolkit.onMessageBox(event);
    }
    return IDOK;
}

int HeadlessDialog::AskQuestion(const std::string &text, const std::string &caption,
                                const std::vector<std::string> &buttons) {
    questionButtons.push_back(buttons);
    int answer = -1;
    if (!m_toolkit.questionAnswers.empty()) {
        answer = m_toolkit.questionAnswers.front();
        m_toolkit.questionAnswers.pop_front();
    }
    m_toolkit.Record(UiEvent{UiEvent::Kind::Question, m_template.id, text, caption,
                             static_cast<unsigned>(answer)});
    return answer;
}

CornerEditAnswer HeadlessDialog::EditCorners(const CornerEditRequest &request) {
    m_toolkit.Record(UiEvent{UiEvent::Kind::CornerEditor, m_template.id, request.title});
    if (!m_toolkit.onCornerEditor) {
        return {};
    }
    // Corners kept that give no page leave the editor open with the refusal in place of the
    // hint, as on screen; a user who keeps insisting is taken to have cancelled.
    constexpr int kMostRefusals = 16;
    CornerEditRequest shown = request;
    for (int refusals = 0; refusals <= kMostRefusals; ++refusals) {
        const CornerEditAnswer answer = m_toolkit.onCornerEditor(shown);
        if (answer.choice != CornerEditAnswer::Choice::Accept || !request.page ||
            !request.page(answer.corners).Empty()) {
            return answer;
        }
        shown.hint = request.refused;
    }
    return {};
}

CropEditAnswer HeadlessDialog::EditCrop(const CropEditRequest &request) {
    m_toolkit.Record(UiEvent{UiEvent::Kind::CropEditor, m_template.id, request.title});
    return m_toolkit.onCropEditor ? m_toolkit.onCropEditor(request) : CropEditAnswer{};
}

std::optional<std::string> HeadlessDialog::AskPassword(const PasswordRequest &request) {
    std::optional<std::string> answer;
    if (!m_toolkit.passwordAnswers.empty()) {
        answer = m_toolkit.passwordAnswers.front();
        m_toolkit.passwordAnswers.pop_front();
    }
    m_toolkit.Record(
        UiEvent{UiEvent::Kind::Password, m_template.id, request.text, request.caption});
    return answer;
}

void HeadlessDialog::RunWithProgress(const ProgressRequest &request, ProgressState &state,
                                     const std::function<void()> &work) {
    m_toolkit.lastProgress = request;
    WorkerThread worker(work);
    std::string shown;
    auto show = [&] {
        const ProgressState::Snapshot now = state.Read();
        const std::string text = now.text + "|" + now.detail;
        if (text != shown && !now.text.empty()) {
            shown = text;
            m_toolkit.Record(UiEvent{UiEvent::Kind::Progress, m_template.id, text});
        }
    };
    while (!worker.Finished()) {
        show();
        if (m_toolkit.onProgress) {
            m_toolkit.onProgress(state);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    show();
    worker.Join();
}

bool HeadlessDialog::GetOpenFileNames(const OpenFileRequest &request,
                                      std::vector<std::string> &paths) {
    openRequests.push_back(request);
    m_toolkit.Record(UiEvent{UiEvent::Kind::OpenDialog, m_template.id, request.title});
    if (m_toolkit.openAnswers.empty()) {
        return false;
    }
    std::optional<std::vector<std::string>> answer = m_toolkit.openAnswers.front();
    m_toolkit.openAnswers.pop_front();
    if (!answer) {
        return false;
    }
    paths = *answer;
    return true;
}

bool HeadlessDialog::GetSaveFileName(const SaveFileRequest &request, std::string &path) {
    saveRequests.push_back(request);
    m_toolkit.Record(UiEvent{UiEvent::Kind::SaveDialog, m_template.id, request.defaultExt});
    if (m_toolkit.saveAnswers.empty()) {
        return false;
    }
    std::optional<std::string> answer = m_toolkit.saveAnswers.front();
    m_toolkit.saveAnswers.pop_front();
    if (!answer) {
        return false;
    }
    path = *answer;
    return true;
}

int HeadlessDialog::TrackPopupMenu(const std::vector<MenuItem> &items, UINT /*flags*/,
                                   UiPoint /*at*/) {
    m_lastPopup = items;
    int chosen = 0;
    if (!m_toolkit.menuAnswers.empty()) {
        chosen = m_toolkit.menuAnswers.front();
        m_toolkit.menuAnswers.pop_front();
    }
    m_toolkit.Record(UiEvent{UiEvent::Kind::PopupMenu, chosen});
    return chosen;
}

void HeadlessDialog::SetPlacement(const WindowPlacement &placement) {
    if (m_template.resizable) {
        LayOut(placement);
        PostMessage(WM_SIZE, 0);
    }
}

void HeadlessDialog::Resize(int width, int height) {
    if (m_template.resizable) {
        LayOut(WindowPlacement{width, height, m_placement.maximised});
        m_owner.SendMessage(UiMessage{WM_SIZE, 0, 0, 0});
    }
}

void HeadlessDialog::LayOut(const WindowPlacement &placement) {
    const UiRect least = DialogUnitsToPixels(UiRect{0, 0, m_template.width, m_template.height});
    m_placement = WindowPlacement{std::max(placement.width, least.Width()),
                                  std::max(placement.height, least.Height()), placement.maximised};
    const int extraWidth = m_placement.width - least.Width();
    const int extraHeight = m_placement.height - least.Height();
    for (const ControlTemplate &control : m_template.controls) {
        const UiRect place =
            GrowRect(DialogUnitsToPixels(control.rect), control.growth, extraWidth, extraHeight);
        const UiRect client{0, 0, place.Width(), place.Height()};
        if (HeadlessListCtrl *list = List(control.id)) {
            list->SetClientRect(client);
        } else if (HeadlessWnd *wnd = Wnd(control.id)) {
            wnd->SetClientRect(client);
        }
    }
}

void HeadlessDialog::SetIcon(int iconResource, bool big) {
    (big ? m_bigIcon : m_smallIcon) = iconResource;
}

void HeadlessDialog::Click(int id) {
    const ControlTemplate *control = m_template.Find(id);
    if (control && control->kind == ControlKind::RadioButton) {
        for (const ControlTemplate &other : m_template.controls) {
            if (other.kind == ControlKind::RadioButton && Wnd(other.id)) {
                Wnd(other.id)->SetCheck(other.id == id);
            }
        }
    }
    if (control && control->kind == ControlKind::CheckBox && Wnd(id)) {
        Wnd(id)->SetCheck(!Wnd(id)->GetCheck());
    }
    m_owner.SendMessage(UiMessage{WM_COMMAND, id, BN_CLICKED, 0});
}

void HeadlessDialog::Notify(int id, int code) {
    m_owner.SendMessage(UiMessage{WM_NOTIFY, id, code, 0});
}

void HeadlessDialog::PressEnter() {
    // Enter on a focused push button clicks it; anywhere else it is the dialog's IDOK.
    const ControlTemplate *focused = m_template.Find(m_toolkit.FocusId());
    if (focused &&
        (focused->kind == ControlKind::PushButton || focused->kind == ControlKind::DefPushButton)) {
        Click(focused->id);
        return;
    }
    m_owner.SendMessage(UiMessage{WM_COMMAND, IDOK, BN_CLICKED, 0});
}

void HeadlessDialog::PressEscape() {
    m_owner.SendMessage(UiMessage{WM_COMMAND, IDCANCEL, BN_CLICKED, 0});
}

void HeadlessDialog::PressKey(unsigned key, unsigned modifiers) {
    for (const Accelerator &accelerator : m_template.accelerators) {
        if (accelerator.key == key && accelerator.modifiers == modifiers) {
            m_owner.SendMessage(UiMessage{WM_COMMAND, accelerator.command, BN_CLICKED, 0});
            return;
        }
    }
}

void HeadlessDialog::RightClickRow(int listId, int row) {
    HeadlessListCtrl *list = List(listId);
    if (!list) {
        return;
    }
    if (row >= 0 && row < list->GetItemCount()) {
        list->UserHighlight(row);
    }
    m_owner.SendMessage(UiMessage{WM_NOTIFY, listId, NM_RCLICK, 0});
}

void HeadlessDialog::ArrowToRow(int listId, int row) {
    HeadlessListCtrl *list = List(listId);
    if (!list || row == list->HighlightedRow()) {
        return;
    }
    list->UserHighlight(row);
    m_owner.SendMessage(UiMessage{WM_NOTIFY, listId, LVN_ITEMCHANGED, 0, row});
}

void HeadlessDialog::DragRow(int listId, int from, int to) {
    m_owner.SendMessage(UiMessage{WM_NOTIFY, listId, LVN_ROWDRAGGED, 0, from, to});
}

void HeadlessDialog::ChooseItem(int id, int index) {
    if (HeadlessComboBox *combo = Combo(id); combo && combo->SetCurSel(index)) {
        m_owner.SendMessage(UiMessage{WM_COMMAND, id, CBN_SELCHANGE, 0});
    }
}

void HeadlessDialog::DropFiles(int id, const std::vector<std::string> &paths) {
    const DroppedFiles drop{paths};
    m_owner.SendMessage(UiMessage{WM_DROPFILES, id, 0, reinterpret_cast<std::intptr_t>(&drop)});
}

void HeadlessDialog::ChooseSystemMenu(int command) {
    m_owner.SendMessage(UiMessage{WM_SYSCOMMAND, command, 0, 0});
}
