#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include "platform/ui/ProgressState.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The modal window that shows work running on a thread of its own: the state's text, its detail
// and a bar, refreshed every 50 ms, and a button that asks the work to cancel. Escape and the
// close box ask the same; the window stays until the work has ended.
class QtProgressDialog : public QDialog {
    Q_OBJECT

public:
    QtProgressDialog(const ProgressRequest &request, ProgressState &state, QWidget *parent);

    // Runs work on its own thread with the window up; returns once the work has ended and throws
    // what it threw.
    void Run(const std::function<void()> &work);

    void reject() override;

signals:
    // The main text changed to text (also the final state, shown as the work ends).
    void TextShown(const QString &text);

private:
    void ShowState();
    void Cancel();

    ProgressState &m_state;
    QLabel *m_text = nullptr;
    QLabel *m_detail = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
    QTimer m_refresh;
};
