// The real main window on the offscreen platform, with what a user does to it. Header only, like
// QtTestApp.h which it includes: include it from exactly one source file per test program.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtListCtrl.h"
#include "platform/qt/QtToolkit.h"
#include "tests/qt/QtTestApp.h"

// Runs answer on the next modal dialog of type T once it is up.
template <class T> void WhenModal(std::function<void(T &)> answer) {
    QTimer::singleShot(0, [answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            answer(*dialog);
        }
    });
}

// Answers the next message box or question with the button captioned answer ("" for its
// default) and keeps its caption and text as "caption|text".
inline void AnswerNextBox(std::vector<std::string> &seen, const std::string &answer = "") {
    WhenModal<QMessageBox>([&seen, answer](QMessageBox &box) {
        seen.push_back(box.windowTitle().toStdString() + "|" + box.text().toStdString());
        for (QAbstractButton *button : box.buttons()) {
            if (answer.empty() || button->text().toStdString() == answer) {
                button->click();
                return;
            }
        }
    });
}

inline void MouseClick(QWidget *target, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// A drag that enters the list, moves to at and drops there, carrying data.
inline void DropOn(QtListCtrl *list, QPoint at, const QMimeData &data) {
    QWidget *target = list->viewport();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// The real toolkit, except that files handed to the desktop are only noted (and opened when
// `opens` says the desktop has a program for them).
class NotingToolkit : public QtToolkit {
public:
    bool ShellExecute(const std::string &verb, const std::string &file, int) override {
        opened.push_back(verb + " " + file);
        return opens;
    }
    std::vector<std::string> opened;
    bool opens = true;
};

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() { Open(); }
    ~WindowFixture() override { Close(); }

    // Opens the main window; settings stay those of this test.
    void Open() {
        dlg = std::make_unique<CFolvaneDlg>(toolkit);
        dlg->Create();
        window = dynamic_cast<QtDialog *>(dlg->Peer());
        window->show();
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
    }
    void Close() {
        if (dlg) {
            dlg->DestroyWindow();
            dlg.reset();
        }
        window = nullptr;
    }

    template <class T> T *Widget(int id) { return qobject_cast<T *>(window->ControlWidget(id)); }
    QtListCtrl *List() { return Widget<QtListCtrl>(IDC_LIST_IMAGES); }
    void Click(int id) { Widget<QAbstractButton>(id)->click(); }
    // Rows as the add dialog would sort them in.
    void AddRows(const std::vector<std::string> &paths) { dlg->SortInFiles(paths); }
    std::vector<std::string> Paths() { return dlg->ListPaths(); }
    // The row of a path (-1: none).
    int RowOf(const std::string &path) {
        const std::vector<std::string> paths = Paths();
        const auto found = std::find(paths.begin(), paths.end(), path);
        return found == paths.end() ? -1 : static_cast<int>(found - paths.begin());
    }
    QPoint RowCentre(int row) {
        return List()->visualRect(List()->model()->index(row, 1)).center();
    }
    void ClickRow(int row) {
        QApplication::processEvents();
        MouseClick(List()->viewport(), RowCentre(row));
    }
    // Lets the background checks of the rows' files finish and reach the window.
    void SettleChecks() { SettleChecksWithin(10000); }
    void SettleChecksWithin(qint64 ms) {
        QElapsedTimer clock;
        clock.start();
        while (dlg->ChecksPending() && clock.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        ASSERT_FALSE(dlg->ChecksPending());
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        // The offscreen platform does not hand activation back when a message box closes.
        QApplication::setActiveWindow(window);
        QTest::keyClick(List(), key, modifiers);
    }

    QApplication &app = App();
    bool settingsCleared = (UseFreshSettings(), true);
    NotingToolkit toolkit;
    std::unique_ptr<CFolvaneDlg> dlg;
    QtDialog *window = nullptr;
};
