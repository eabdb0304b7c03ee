#include "platform/qt/QtCropEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/CropCanvas.h"
#include "platform/qt/QtCornerEditor.h"

namespace {
QPushButton *AddButton(QHBoxLayout *row, const std::string &text, const char *name,
                       QWidget *parent) {
    auto *button = new QPushButton(QString::fromStdString(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    // The arrow keys stay with the page's rectangle.
    button->setFocusPolicy(Qt::TabFocus);
    row->addWidget(button);
    return button;
}
} // namespace

QtCropEditor::QtCropEditor(const CropEditRequest &request, QWidget *parent)
    : QDialog(parent), m_request(request) {
    setObjectName(QStringLiteral("cropEditor"));
    setWindowTitle(QString::fromStdString(request.title));
    m_canvas = new CropCanvas(ImageOf(request.page), request.crop, this);
    m_hint = new QLabel(QString::fromStdString(request.hint), this);
    m_hint->setObjectName(QStringLiteral("cropHint"));
    m_hint->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton *accept = AddButton(buttons, request.accept, "cropAccept", this);
    QPushButton *reset = AddButton(buttons, request.reset, "cropReset", this);
    QPushButton *cancel = AddButton(buttons, request.cancel, "cropCancel", this);
    accept->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_hint);
    layout->addWidget(m_canvas, 1);
    layout->addLayout(buttons);
    if (const QScreen *shown = screen()) {
        resize(sizeHint().boundedTo(shown->availableGeometry().size()));
    }

    const CropBox whole{0, 0, request.page.width, request.page.height};
    connect(accept, &QPushButton::clicked, this, [this] { Keep(); });
    connect(reset, &QPushButton::clicked, this, [this, whole] { m_canvas->SetCrop(whole); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    // A refusal shown stays until the rectangle changes.
    connect(m_canvas, &CropCanvas::CropChanged, this, [this] {
        m_hint->setText(QString::fromStdString(m_request.hint));
        m_hint->setStyleSheet(QString());
    });
    m_canvas->setFocus();
}

void QtCropEditor::Keep() {
    const std::string refusal = m_request.refusal ? m_request.refusal(m_canvas->Crop()) : "";
    if (!refusal.empty()) {
        m_hint->setText(QString::fromStdString(refusal));
        m_hint->setStyleSheet(QStringLiteral("color: rgb(204, 0, 0);"));
        return;
    }
    accept();
}

CropEditAnswer QtCropEditor::Run() {
    exec();
    CropEditAnswer answer;
    answer.choice = result() == QDialog::Accepted ? CropEditAnswer::Choice::Accept
                                                  : CropEditAnswer::Choice::Cancel;
    answer.crop = m_canvas->Crop();
    return answer;
}
