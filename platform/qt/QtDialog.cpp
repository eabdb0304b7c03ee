#include "platform/qt/QtDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/qt/PreviewFrame.h"
#include "platform/qt/QtComboWnd.h"
#include "platform/qt/QtCornerEditor.h"
#include "platform/qt/QtCropEditor.h"
#include "platform/qt/QtListCtrl.h"
#include "platform/qt/QtPasswordBox.h"
#include "platform/qt/QtProgressDialog.h"
#include "platform/qt/QtToolkit.h"
#include "platform/qt/QtWnd.h"
#include "platform/qt/TemplateSurface.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/Translation.h"
#include "platform/ui/UiMessage.h"

namespace {

QString FromUtf8(const std::string &text) {
    return QString::fromStdString(text);
}

// A file pattern that matches without regard to case ("*.jpg" also finds "SCAN.JPG"), as the
// file dialogs of the program's first platform do.
QString CaseFreePattern(const std::string &pattern) {
    QString result;
    for (const QChar c : FromUtf8(pattern)) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            result += c;
        }
    }
    return result;
}

// Qt shows the part before the pattern list; the list itself stays hidden.
QStringList NameFilters(const std::vector<FileFilter> &filters) {
    QStringList result;
    for (const FileFilter &filter : filters) {
        QStringList patterns;
        for (const std::string &pattern : filter.patterns) {
            patterns << (pattern == "*.*" ? QStringLiteral("*") : CaseFreePattern(pattern));
        }
        result << FromUtf8(filter.name) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

std::string LocalPath(const QString &path) {
    return QFile::encodeName(path).toStdString();
}

// A window of fixed size is a dialog; one the user can resize is a window of its own, which the
// desktop lets the user maximise and minimise.
Qt::WindowFlags WindowFlags(bool resizable) {
    const Qt::WindowFlags common =
        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (resizable) {
        return Qt::Window | common | Qt::WindowMinMaxButtonsHint;
    }
    return Qt::Dialog | common | Qt::MSWindowsFixedSizeDialogHint;
}

} // namespace

QtDialog::QtDialog(const DialogTemplate &dialog, CDialog &owner, QWidget *parent)
    : QDialog(parent), m_template(dialog), m_owner(owner) {
    setWindowTitle(FromUtf8(dialog.caption));
    setWindowFlags(WindowFlags(dialog.resizable));

    // Dialog units are laid out for a 96-dot-per-inch screen and grow with the screen's own.
    const double scale = std::max(1.0, logicalDpiY() / 96.0);
    const UiRect size = DialogUnitsToPixels(UiRect{0, 0, dialog.width, dialog.height}, scale);
    m_surface = new TemplateSurface(QSize(size.Width(), size.Height()), dialog.resizable, this);
    for (const ControlTemplate &control : dialog.controls) {
        BuildControl(control, scale);
    }

    for (const Accelerator &accelerator : dialog.accelerators) {
        AddShortcut(accelerator);
    }

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->setSizeConstraint(dialog.resizable ? QLayout::SetDefaultConstraint
                                                 : QLayout::SetFixedSize);
    m_layout->addWidget(m_surface);

    if (dialog.resizable) {
        // One WM_SIZE once a burst of resizes (a drag of the window's edge) has been handled.
        m_sizeNotice.setSingleShot(true);
        m_sizeNotice.setInterval(0);
        connect(&m_sizeNotice, &QTimer::timeout, this, [this] { Send(WM_SIZE, 0, 0); });
        connect(m_surface, &TemplateSurface::Resized, this, [this] { m_sizeNotice.start(); });
    }
}

QtDialog::~QtDialog() {
    m_peers.clear();
}

void QtDialog::BuildControl(const ControlTemplate &control, double scale) {
    const UiRect rect = DialogUnitsToPixels(control.rect, scale);
    QWidget *widget = MakeWidget(control, m_surface, scale);
    // A picture control takes the size of its bitmap.
    const bool picture = control.kind == ControlKind::Picture || control.kind == ControlKind::Icon;
    m_surface->Place(widget, rect, control.growth, picture);
    if (picture || control.kind == ControlKind::GroupBox) {
        widget->lower(); // behind the controls it frames
    }
    widget->setEnabled(!control.disabled);
    if (!control.toolTip.empty()) {
        widget->setToolTip(FromUtf8(control.toolTip));
    }
    if (control.id < 0) {
        return;
    }
    widget->setObjectName(QStringLiteral("control%1").arg(control.id));
    m_widgets[control.id] = widget;
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        m_peers[control.id] = std::make_unique<QtComboWnd>(combo);
    } else if (widget != m_list) {
        m_peers[control.id] = std::make_unique<QtWnd>(widget);
    }
}

QWidget *QtDialog::MakeWidget(const ControlTemplate &control, QWidget *surface, double scale) {
    const QString caption = FromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::ListView:
        return MakeList(control.id, surface);
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
        return MakeButton(control, surface);
    case ControlKind::RadioButton:
        return MakeRadio(control, surface);
    case ControlKind::CheckBox:
        return MakeCheckBox(control, surface);
    case ControlKind::ComboBox: {
        auto *combo = new QComboBox(surface);
        // Only the user's choice is a message: activated, not currentIndexChanged.
        connect(combo, &QComboBox::activated, this,
                [this, id = control.id] { Send(WM_COMMAND, id, CBN_SELCHANGE); });
        return combo;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(caption, surface);
    case ControlKind::Edit: {
        auto *edit = new QLineEdit(caption, surface);
        edit->setReadOnly(!control.password);
        if (control.password) {
            edit->setEchoMode(QLineEdit::Password);
        }
        if (control.readOnly) {
            // Its text can be selected and copied with the mouse; Tab passes it by.
            edit->setFocusPolicy(Qt::ClickFocus);
        }
        return edit;
    }
    case ControlKind::StaticText: {
        auto *label = new QLabel(caption, surface);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::StaticFrame: {
        auto *frame = new PreviewFrame(surface);
        connect(frame, &PreviewFrame::DoubleClicked, this, [this, id = control.id] {
            m_owner.SendMessage(UiMessage{WM_NOTIFY, id, NM_DBLCLK, 0});
        });
        return frame;
    }
    case ControlKind::Picture:
    case ControlKind::Icon:
        break;
    }
    auto *picture = new QLabel(surface);
    QPixmap pixmap(QtToolkit::ResourcePath(control.resourceId));
    if (control.kind == ControlKind::Icon) {
        const int side = static_cast<int>(32 * scale);
        pixmap = pixmap.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    picture->setPixmap(pixmap);
    picture->resize(pixmap.size());
    return picture;
}

QWidget *QtDialog::MakeList(int id, QWidget *surface) {
    m_list = new QtListCtrl(surface);
    m_listId = id;
    connect(m_list, &QtListCtrl::Notified, this, [this](int code, int item, int target) {
        m_owner.SendMessage(UiMessage{WM_NOTIFY, m_listId, code, 0, item, target});
    });
    connect(m_list, &QtListCtrl::FilesDropped, this, [this](const std::vector<std::string> &paths) {
        const DroppedFiles drop{paths};
        m_owner.SendMessage(
            UiMessage{WM_DROPFILES, m_listId, 0, reinterpret_cast<std::intptr_t>(&drop)});
    });
    return m_list;
}

QWidget *QtDialog::MakeButton(const ControlTemplate &control, QWidget *surface) {
    auto *button = new QPushButton(FromUtf8(control.caption), surface);
    // Enter is routed by keyPressEvent, as the dialog manager of the first platform does.
    button->setAutoDefault(false);
    button->setDefault(control.kind == ControlKind::DefPushButton);
    connect(button, &QPushButton::clicked, this,
            [this, id = control.id] { Send(WM_COMMAND, id, BN_CLICKED); });
    return button;
}

QWidget *QtDialog::MakeRadio(const ControlTemplate &control, QWidget *surface) {
    if (control.group || !m_radioGroup) {
        m_radioGroup = new QButtonGroup(this);
    }
    auto *radio = new QRadioButton(FromUtf8(control.caption), surface);
    m_radioGroup->addButton(radio);
    connect(radio, &QRadioButton::clicked, this,
            [this, id = control.id] { Send(WM_COMMAND, id, BN_CLICKED); });
    return radio;
}

QWidget *QtDialog::MakeCheckBox(const ControlTemplate &control, QWidget *surface) {
    auto *box = new QCheckBox(FromUtf8(control.caption), surface);
    connect(box, &QCheckBox::clicked, this,
            [this, id = control.id] { Send(WM_COMMAND, id, BN_CLICKED); });
    return box;
}

void QtDialog::AddShortcut(const Accelerator &accelerator) {
    int key = 0;
    switch (accelerator.key) {
    case VK_DELETE:
        key = Qt::Key_Delete;
        break;
    case VK_UP:
        key = Qt::Key_Up;
        break;
    case VK_DOWN:
        key = Qt::Key_Down;
        break;
    case VK_HOME:
        key = Qt::Key_Home;
        break;
    case VK_END:
        key = Qt::Key_End;
        break;
    default:
        if (accelerator.key >= 'A' && accelerator.key <= 'Z') {
            key = Qt::Key_A + static_cast<int>(accelerator.key - 'A');
        }
    }
    if (key == 0) {
        return;
    }
    const int modifiers = ((accelerator.modifiers & FCONTROL) ? int(Qt::ControlModifier) : 0) |
                          ((accelerator.modifiers & FSHIFT) ? int(Qt::ShiftModifier) : 0);
    auto *shortcut = new QShortcut(QKeySequence(key | modifiers), this);
    connect(shortcut, &QShortcut::activated, this,
            [this, id = accelerator.command] { Send(WM_COMMAND, id, BN_CLICKED); });
}

QWidget *QtDialog::ControlWidget(int id) const {
    auto found = m_widgets.find(id);
    return found == m_widgets.end() ? nullptr : found->second;
}

WndPeer *QtDialog::Control(int id) {
    if (id == m_listId) {
        return m_list;
    }
    auto found = m_peers.find(id);
    return found == m_peers.end() ? nullptr : found->second.get();
}

ListCtrlPeer *QtDialog::ListControl(int id) {
    return id == m_listId ? m_list : nullptr;
}

void QtDialog::Send(UINT message, int id, int code) {
    m_owner.SendMessage(UiMessage{message, id, code, 0});
}

int QtDialog::RunModalLoop() {
    if (m_ended) {
        return result();
    }
    return exec();
}

void QtDialog::EndModalLoop(int result) {
    m_ended = true;
    done(result);
}

void QtDialog::reject() {
    // Escape and the close box: the owner decides (its OnCancel ends the dialog).
    Send(WM_COMMAND, IDCANCEL, BN_CLICKED);
}

void QtDialog::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget())) {
            button->click();
        } else {
            Send(WM_COMMAND, IDOK, BN_CLICKED);
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        reject();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void QtDialog::PostMessage(UINT message, int id) {
    QMetaObject::invokeMethod(
        this, [this, message, id] { Send(message, id, 0); }, Qt::QueuedConnection);
}

int QtDialog::MessageBox(const std::string &text, const std::string &caption, UINT /*type*/) {
    QMessageBox box(QMessageBox::Information, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
    return IDOK;
}

int QtDialog::AskQuestion(const std::string &text, const std::string &caption,
                          const std::vector<std::string> &buttons) {
    QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton,
                    this);
    box.setObjectName(QStringLiteral("questionBox"));
    std::vector<QPushButton *> answers;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const bool last = i + 1 == buttons.size();
        answers.push_back(box.addButton(FromUtf8(buttons[i]),
                                        last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!answers.empty()) {
        box.setDefaultButton(answers.front());
        box.setEscapeButton(answers.back());
    }
    box.exec();
    const auto chosen = std::find(answers.begin(), answers.end(), box.clickedButton());
    return chosen == answers.end() ? -1 : static_cast<int>(chosen - answers.begin());
}

std::optional<std::string> QtDialog::AskPassword(const PasswordRequest &request) {
    return AskPasswordInBox(request, this);
}

void QtDialog::RunWithProgress(const ProgressRequest &request, ProgressState &state,
                               const std::function<void()> &work) {
    QtProgressDialog progress(request, state, this);
    progress.Run(work);
}

CornerEditAnswer QtDialog::EditCorners(const CornerEditRequest &request) {
    QtCornerEditor editor(request, this);
    return editor.Run();
}

CropEditAnswer QtDialog::EditCrop(const CropEditRequest &request) {
    QtCropEditor editor(request, this);
    return editor.Run();
}

bool QtDialog::GetOpenFileNames(const OpenFileRequest &request, std::vector<std::string> &paths) {
    QFileDialog dialog(this, FromUtf8(request.title));
    if (!request.initialDir.empty()) {
        dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(request.initialDir)));
    }
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((request.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                              : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(NameFilters(request.filters));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    for (const QString &file : dialog.selectedFiles()) {
        paths.push_back(LocalPath(file));
    }
    return !paths.empty();
}

bool QtDialog::GetSaveFileName(const SaveFileRequest &request, std::string &path) {
    QFileDialog dialog(this);
    if (!request.initialDir.empty()) {
        dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(request.initialDir)));
    }
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(NameFilters(request.filters));
    dialog.setDefaultSuffix(FromUtf8(request.defaultExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & OFN_OVERWRITEPROMPT));
    if (!request.initialName.empty()) {
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(request.initialName)));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    path = LocalPath(dialog.selectedFiles().first());
    return true;
}

int QtDialog::TrackPopupMenu(const std::vector<MenuItem> &items, UINT /*flags*/, UiPoint at) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("popupMenu"));
    for (const MenuItem &item : items) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction *action = menu.addAction(FromUtf8(item.text));
        action->setData(item.id);
        action->setEnabled((item.flags & MF_GRAYED) == 0);
    }
    QAction *chosen = menu.exec(QPoint(at.x, at.y));
    return chosen ? chosen->data().toInt() : 0;
}

UiPoint QtDialog::GetCursorPos() const {
    const QPoint position = QCursor::pos();
    return UiPoint{position.x(), position.y()};
}

void QtDialog::AppendSystemMenu(const MenuItem &item) {
    if (!m_systemMenu) {
        m_menuBar = new QMenuBar(this);
        m_systemMenu = m_menuBar->addMenu(QString::fromStdString(Tr("QtDialog", "帮助(&H)")));
        m_layout->setMenuBar(m_menuBar);
    }
    if (item.flags & MF_SEPARATOR) {
        m_systemMenu->addSeparator();
        return;
    }
    QAction *action = m_systemMenu->addAction(FromUtf8(item.text));
    connect(action, &QAction::triggered, this,
            [this, id = item.id] { Send(WM_SYSCOMMAND, id, 0); });
}

WindowPlacement QtDialog::GetPlacement() const {
    const bool maximised = isMaximized();
    const QSize size = maximised ? normalGeometry().size() : this->size();
    return WindowPlacement{size.width(), size.height(), maximised};
}

void QtDialog::SetPlacement(const WindowPlacement &placement) {
    if (!m_template.resizable) {
        return;
    }
    QSize size(placement.width, placement.height);
    // A size remembered on a larger screen is cut to this one's, never below the template.
    if (const QScreen *shown = screen()) {
        size = size.boundedTo(shown->availableGeometry().size());
    }
    m_layout->activate();
    resize(size.expandedTo(minimumSize()));
    const Qt::WindowStates others = windowState() & ~Qt::WindowMaximized;
    setWindowState(placement.maximised ? others | Qt::WindowMaximized : others);
}

void QtDialog::SetIcon(int iconResource, bool /*big*/) {
    const QString path = QtToolkit::ResourcePath(iconResource);
    if (!path.isEmpty()) {
        setWindowIcon(QIcon(path));
    }
}

void QtDialog::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtDialog::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}
