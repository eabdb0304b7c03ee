// Watches the modal windows a generate run opens in the real window: keeps every text the
// progress window showed and every box's text, answers the boxes, and lets a test act on the
// progress window while it is up.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/QtProgressDialog.h"

class RunWatcher : public QObject {
public:
    RunWatcher() {
        m_tick.setInterval(2);
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { Tick(); });
        m_tick.start();
        m_clock.start();
        // The progress window is caught as it is shown, not at the next tick: a short run can
        // open and close it between two ticks on a busy machine.
        qApp->installEventFilter(this);
    }

    // Called with the progress window and the text it shows, at every tick while it is up.
    std::function<void(QtProgressDialog &, const std::string &)> onProgress;
    // Called with each box before it is answered.
    std::function<void(QMessageBox &)> onBox;
    // The button each box is answered with, by caption, in order; the first button after that.
    std::vector<std::string> answers;

    std::vector<std::string> progressTexts; // each text the progress window showed
    std::vector<std::string> boxes;         // "caption|text" of each box, in order
    // Everything else these windows showed: the boxes' buttons, the progress window's caption,
    // button and the file on its way.
    std::vector<std::string> otherTexts;
    // The longest time between two paints of the progress window while it was up, in ms.
    qint64 LongestPaintGap() const { return m_longestGap; }
    int Paints() const { return m_paints; }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show) {
            if (auto *progress = qobject_cast<QtProgressDialog *>(watched)) {
                Attach(progress);
            }
        }
        if (event->type() == QEvent::Paint && watched == m_progress) {
            const qint64 now = m_clock.elapsed();
            if (m_lastPaint >= 0) {
                m_longestGap = std::max(m_longestGap, now - m_lastPaint);
            }
            m_lastPaint = now;
            ++m_paints;
        }
        return false;
    }

private:
    void Shown(const std::string &text) {
        if (!text.empty() && (progressTexts.empty() || progressTexts.back() != text)) {
            progressTexts.push_back(text);
        }
    }

    void Attach(QtProgressDialog *progress) {
        if (progress == m_progress) {
            return;
        }
        m_progress = progress;
        QObject::connect(progress, &QtProgressDialog::TextShown, this,
                         [this](const QString &text) { Shown(text.toStdString()); });
        Shown(progress->findChild<QLabel *>(QStringLiteral("progressText"))->text().toStdString());
        otherTexts.push_back(progress->windowTitle().toStdString());
        for (QAbstractButton *button : progress->findChildren<QAbstractButton *>()) {
            otherTexts.push_back(button->text().toStdString());
        }
    }

    void Tick() {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *progress = qobject_cast<QtProgressDialog *>(modal)) {
            Attach(progress);
            // A desktop asks a window to repaint whenever something uncovers it; the window
            // can only do so while its thread is free.
            progress->update();
            const std::string text =
                progress->findChild<QLabel *>(QStringLiteral("progressText"))->text().toStdString();
            otherTexts.push_back(progress->findChild<QLabel *>(QStringLiteral("progressDetail"))
                                     ->text()
                                     .toStdString());
            if (onProgress) {
                onProgress(*progress, text);
            }
            return;
        }
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
            for (QAbstractButton *button : box->buttons()) {
                otherTexts.push_back(button->text().toStdString());
            }
            if (onBox) {
                onBox(*box);
            }
            QAbstractButton *chosen = box->buttons().value(0);
            if (!answers.empty()) {
                for (QAbstractButton *button : box->buttons()) {
                    if (button->text().toStdString() == answers.front()) {
                        chosen = button;
                    }
                }
                answers.erase(answers.begin());
            }
            chosen->click();
        }
    }

    QTimer m_tick;
    QElapsedTimer m_clock;
    QPointer<QtProgressDialog> m_progress; // null again once that window is gone
    qint64 m_lastPaint = -1;
    qint64 m_longestGap = 0;
    int m_paints = 0;
};
