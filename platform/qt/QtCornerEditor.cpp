#include "platform/qt/QtCornerEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/CornerCanvas.h"

namespace {
constexpr int kPageSide = 300;
constexpr int kFollowMs = 30; // a drag's moves within this are drawn as one

QPushButton *AddButton(QHBoxLayout *row, const std::string &text, const char *name,
                       QWidget *parent) {
    auto *button = new QPushButton(QString::fromStdString(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    row->addWidget(button);
    return button;
}
} // namespace

QImage ImageOf(const RgbPicture &picture) {
    if (picture.Empty()) {
        return {};
    }
    return QImage(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                  QImage::Format_RGB888)
        .copy();
}

QtCornerEditor::QtCornerEditor(const CornerEditRequest &request, QWidget *parent)
    : QDialog(parent), m_request(request) {
    setObjectName(QStringLiteral("cornerEditor"));
    setWindowTitle(QString::fromStdString(request.title));
    m_canvas = new CornerCanvas(ImageOf(request.photo), request.corners, this);
    m_page = new QLabel(this);
    m_page->setObjectName(QStringLiteral("cornerPage"));
    m_page->setFixedSize(kPageSide, kPageSide);
    m_page->setAlignment(Qt::AlignCenter);
    m_page->setStyleSheet(QStringLiteral("background: rgb(200, 200, 200);"));
    m_hint = new QLabel(QString::fromStdString(request.hint), this);
    m_hint->setObjectName(QStringLiteral("cornerHint"));

    auto *pictures = new QHBoxLayout;
    pictures->addWidget(m_canvas, 1);
    pictures->addWidget(m_page, 0, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton *accept = AddButton(buttons, request.accept, "cornerAccept", this);
    QPushButton *automatic = AddButton(buttons, request.automatic, "cornerAutomatic", this);
    QPushButton *cancel = AddButton(buttons, request.cancel, "cornerCancel", this);
    accept->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_hint);
    layout->addLayout(pictures, 1);
    layout->addLayout(buttons);

    // As large as the photo asks, within the screen: Qt's own first size keeps to two thirds of
    // it, which leaves the photo small beside the page.
    if (const QScreen *shown = screen()) {
        resize(sizeHint().boundedTo(shown->availableGeometry().size()));
    }
    m_follow = new QTimer(this);
    m_follow->setSingleShot(true);
    m_follow->setInterval(kFollowMs);
    connect(m_follow, &QTimer::timeout, this, [this] { ShowPage(); });
    connect(m_canvas, &CornerCanvas::CornersMoved, this, [this] {
        if (!m_follow->isActive()) {
            m_follow->start();
        }
    });
    connect(m_canvas, &CornerCanvas::CornersReleased, this, [this] {
        m_follow->stop();
        ShowPage();
    });
    connect(accept, &QPushButton::clicked, this, [this] {
        // Corners that give no page stay open for mending, the refusal in place of the hint.
        m_follow->stop();
        if (!ShowPage()) {
            return;
        }
        m_choice = CornerEditAnswer::Choice::Accept;
        QDialog::accept();
    });
    connect(automatic, &QPushButton::clicked, this, [this] {
        m_choice = CornerEditAnswer::Choice::Automatic;
        QDialog::accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    ShowPage();
}

bool QtCornerEditor::ShowPage() {
    if (!m_request.page) {
        return true;
    }
    const QImage page = ImageOf(m_request.page(m_canvas->Corners()));
    const bool given = !page.isNull();
    m_hint->setText(QString::fromStdString(given ? m_request.hint : m_request.refused));
    m_hint->setStyleSheet(given ? QString() : QStringLiteral("color: rgb(200, 0, 0);"));
    if (!given) {
        m_page->setPixmap(QPixmap());
        return false;
    }
    m_page->setPixmap(QPixmap::fromImage(
        page.scaled(m_page->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return true;
}

CornerEditAnswer QtCornerEditor::Run() {
    exec();
    CornerEditAnswer answer;
    answer.choice = result() == QDialog::Accepted ? m_choice : CornerEditAnswer::Choice::Cancel;
    answer.corners = m_canvas->Corners();
    return answer;
}
