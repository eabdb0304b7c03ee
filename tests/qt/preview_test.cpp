// The preview in the real window: the frame paints what the preview drew, keeps it across
// repaints, and an erasing update clears it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "app/qt/PreviewFrame.h"
#include "app/qt/QtDialog.h"
#include "app/qt/QtListCtrl.h"
#include "app/qt/QtToolkit.h"
#include "tests/qt/QtTestApp.h"
#include "tests/qt/Screenshots.h"

namespace {

const std::string kPhoto = std::string(FOLVANE_SOURCE_DIR) + "/res/samples/page-1.jpg";

class Preview : public ::testing::Test {
protected:
    Preview() : app(App()), dlg(toolkit) {
        dlg.Create();
        window = dynamic_cast<QtDialog *>(dlg.Peer());
        window->show();
        QApplication::processEvents();
        frame = qobject_cast<PreviewFrame *>(window->ControlWidget(IDC_PREVIEW_FRAME));
    }

    // The frame as it paints itself now, at its client area's centre.
    QRgb Centre() {
        const QImage shot = frame->grab().toImage();
        return shot.pixel(frame->contentsRect().center());
    }

    QApplication &app;
    QtToolkit toolkit;
    CFolvaneDlg dlg;
    QtDialog *window = nullptr;
    PreviewFrame *frame = nullptr;
};

TEST_F(Preview, FramePaintsThePictureAndKeepsItWhenUncovered) {
    ASSERT_NE(frame, nullptr);
    const QRgb empty = Centre();
    dlg.ShowPreview(kPhoto);
    const QRgb shown = Centre();
    EXPECT_NE(shown, empty);
    // The page's beige paper (blue about 240), not the white frame.
    EXPECT_LT(qBlue(shown), 250);

    window->hide();
    QApplication::processEvents();
    window->show();
    QApplication::processEvents();
    frame->repaint();
    EXPECT_EQ(Centre(), shown);

    dlg.ShowPreview("/no/such/file.jpg");
    EXPECT_EQ(Centre(), empty);
}

TEST_F(Preview, ClickingARowShowsItsPicture) {
    auto *list = qobject_cast<QtListCtrl *>(window->ControlWidget(IDC_LIST_IMAGES));
    ASSERT_NE(list, nullptr);
    // The sample pages in a folder of the kind a user keeps scans in.
    support::TempDir dir;
    for (const std::string &page : CopySamples(dir, "扫描")) {
        const int row = list->InsertItem(list->GetItemCount(), "");
        list->SetItemText(row, 1, page);
    }
    dlg.Renumber();
    // The user clicks the first row's path cell.
    const QPoint at = list->visualRect(list->model()->index(0, 1)).center();
    const QPointF global = list->viewport()->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &press);
    QApplication::sendEvent(list->viewport(), &release);
    QApplication::processEvents();
    EXPECT_EQ(dlg.m_nSelected, 0);
    // The middle of the frame shows the middle of the page, in the page's colours.
    const QImage shown = frame->grab().toImage();
    EXPECT_LE(
        ColourDistance(MeanColour(shown, CentralHalf(frame->contentsRect())), SamplePageCentre()),
        12);
    KeepScreenshot(window->grab().toImage(), "preview.png");
}

} // namespace
