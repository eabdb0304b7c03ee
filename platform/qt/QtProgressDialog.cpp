#include "platform/qt/QtProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/WorkerThread.h"

namespace {
constexpr int kRefreshMs = 50;
constexpr int kDetailWidth = 360;
} // namespace

QtProgressDialog::QtProgressDialog(const ProgressRequest &request, ProgressState &state,
                                   QWidget *parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(QString::fromStdString(request.caption));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("progressText"));
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("progressDetail"));
    m_detail->setFixedWidth(kDetailWidth);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_cancel = new QPushButton(QString::fromStdString(request.cancelText), this);
    m_cancel->setObjectName(QStringLiteral("progressCancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_detail);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, [this] { ShowState(); });
}

void QtProgressDialog::Run(const std::function<void()> &work) {
    WorkerThread worker([this, &work] {
        // However the work ends, the window closes once the user-interface thread gets to it.
        struct CloseWindow {
            QtProgressDialog *window;
            ~CloseWindow() {
                QMetaObject::invokeMethod(
                    window,
                    [w = window] {
                        w->ShowState();
                        w->done(QDialog::Accepted);
                    },
                    Qt::QueuedConnection);
            }
        } close{this};
        work();
    });
    ShowState();
    m_refresh.start();
    exec();
    m_refresh.stop();
    worker.Join();
}

void QtProgressDialog::ShowState() {
    const ProgressState::Snapshot now = m_state.Read();
    const QString text = QString::fromStdString(now.text);
    if (text != m_text->text()) {
        m_text->setText(text);
        emit TextShown(text);
    }
    m_detail->setText(m_detail->fontMetrics().elidedText(QString::fromStdString(now.detail),
                                                         Qt::ElideMiddle, kDetailWidth));
    m_bar->setRange(0, std::max(now.maximum, 1));
    m_bar->setValue(std::clamp(now.value, 0, std::max(now.maximum, 1)));
}

void QtProgressDialog::Cancel() {
    m_state.RequestCancel();
    m_cancel->setEnabled(false);
}

void QtProgressDialog::reject() {
    Cancel();
}
