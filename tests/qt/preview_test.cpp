// The preview in the real window: the frame paints what the preview drew, keeps it across
// repaints, and an erasing update clears it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "platform/qt/PreviewFrame.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtListCtrl.h"
#include "platform/qt/QtToolkit.h"
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

    // The bounding box of the sheet's grey outline in a grab of the frame.
    static QRect SheetOutline(const QImage &shot) {
        QRect box;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixel(x, y) == qRgb(150, 150, 150)) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }

    template <class W> W *Widget(int id) { return qobject_cast<W *>(window->ControlWidget(id)); }

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
    dlg.SetImageType(6); // fit: the page fills the sheet
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

    // A file that cannot be read shows the placeholder (its light grey background).
    dlg.ShowPreview("/no/such/file.jpg");
    EXPECT_EQ(Centre(), qRgb(244, 244, 244));
}

TEST_F(Preview, ClickingARowShowsItsPicture) {
    auto *list = qobject_cast<QtListCtrl *>(window->ControlWidget(IDC_LIST_IMAGES));
    ASSERT_NE(list, nullptr);
    // The sample pages in a folder of the kind a user keeps scans in.
    support::TempDir dir;
    dlg.AppendFiles(CopySamples(dir, "扫描"));
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
    EXPECT_EQ(dlg.Pages().current(), 0);
    // The middle of the frame shows the middle of the page, in the page's colours.
    const QImage shown = frame->grab().toImage();
    EXPECT_LE(
        ColourDistance(MeanColour(shown, CentralHalf(frame->contentsRect())), SamplePageCentre()),
        12);
}

// The page at 200万 (0.525): the 1416 x 2004 sample page is 743 x 1052 points on the
// 595 x 842 sheet, placed at its lower left and cut at its right and top edges.
TEST_F(Preview, AClassPageIsCutAtTheSheetsEdge) {
    support::TempDir dir;
    const std::string page = CopySamples(dir, "扫描").front();
    dlg.AppendFiles({page});
    Widget<QAbstractButton>(IDC_RADIO_200)->click();
    dlg.RefreshPreview();
    QApplication::processEvents();
    const QImage shown = frame->grab().toImage();
    const QRect sheet = SheetOutline(shown);
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_GT(sheet.height(), sheet.width()) << "class pages stay portrait";
    // The page covers the sheet: its central half shows the sample page, not white paper.
    EXPECT_LE(ColourDistance(MeanColour(shown, CentralHalf(sheet)), SamplePageCentre()), 40);
    KeepScreenshot(window->grab().toImage(), "preview.png");
}

// A landscape photo fitted: the sheet turns landscape and the photo fills its width.
TEST_F(Preview, AFittedLandscapePhotoTurnsTheSheet) {
    support::TempDir dir;
    const std::string photo = dir / "风景.jpg";
    support::WriteFile(photo, support::MakeJpeg(support::Photo(1800, 1200)));
    dlg.AppendFiles({photo});
    Widget<QAbstractButton>(IDC_RADIO_FIT)->click();
    dlg.RefreshPreview();
    QApplication::processEvents();
    const QRect sheet = SheetOutline(frame->grab().toImage());
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_GT(sheet.width(), sheet.height() * 4 / 3) << "A4 landscape";
    KeepScreenshot(window->grab().toImage(), "preview-fit.png");
}

} // namespace
