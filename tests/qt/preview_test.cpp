// The preview in the real window: the frame paints what the preview drew, keeps it across
// repaints, and an erasing update clears it.
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "app/qt/PreviewFrame.h"
#include "app/qt/QtDialog.h"
#include "app/qt/QtListCtrl.h"
#include "app/qt/QtToolkit.h"
#include "tests/qt/QtTestApp.h"

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

TEST_F(Preview, ClickingARowShowsItsPictureAndTheScreenshot) {
    auto *list = qobject_cast<QtListCtrl *>(window->ControlWidget(IDC_LIST_IMAGES));
    ASSERT_NE(list, nullptr);
    // The sample pages in a folder of the kind a user keeps scans in.
    const std::filesystem::path scans = std::filesystem::temp_directory_path() / "扫描";
    std::filesystem::create_directories(scans);
    for (const char *page : {"page-1.jpg", "page-2.jpg", "page-3.tif"}) {
        std::filesystem::copy_file(std::string(FOLVANE_SOURCE_DIR) + "/res/samples/" + page,
                                   scans / page, std::filesystem::copy_options::overwrite_existing);
        const int row = list->InsertItem(list->GetItemCount(), "");
        list->SetItemText(row, 1, (scans / page).string());
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
    EXPECT_LT(qBlue(Centre()), 250);
    const QString path = QDir::current().filePath(QStringLiteral("preview.png"));
    ASSERT_TRUE(window->grab().save(path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    std::filesystem::remove_all(scans);
}

} // namespace
