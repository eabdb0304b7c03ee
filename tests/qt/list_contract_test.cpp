// The list contract of the headless peer, run against the list on screen.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/QtListCtrl.h"
#include "tests/platform/ListCtrlContract.h"
#include "tests/qt/QtTestApp.h"

namespace {

void SendClick(QWidget *target, QPoint at) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

class QtList : public ListUnderTest {
public:
    QtList() {
        list.resize(500, 300);
        list.show();
    }
    ListCtrlPeer &Peer() override { return list; }
    void UserClicksRow(int row) override {
        QApplication::processEvents();
        if (row < 0) {
            SendClick(list.viewport(), QPoint(10, list.viewport()->height() - 3));
            return;
        }
        SendClick(list.viewport(), list.visualRect(list.model()->index(row, 1)).center());
    }
    void UserPressesDown() override {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(&list, &down);
    }
    void UserResizes(int width, int height) override {
        list.resize(width, height);
        QApplication::processEvents();
    }

    QApplication &app = App();
    QtListCtrl list;
};

INSTANTIATE_TEST_SUITE_P(OnScreen, ListCtrlContract,
                         ::testing::Values(+[]() -> std::unique_ptr<ListUnderTest> {
                             return std::make_unique<QtList>();
                         }));

} // namespace
