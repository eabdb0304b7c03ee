// Document correction in the real window: the corrected page in the preview, and the corner
// editor's handles dragged with the mouse, the page beside them following and the corners kept
// for the row.
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "platform/qt/CornerCanvas.h"
#include "platform/qt/QtCornerEditor.h"
#include "tests/deskphoto/BentPage.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/SplitChecks.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

void Send(QWidget *target, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The left button pressed at `from` and moved to `to`, still held.
void DragWithoutLettingGo(QWidget *target, QPointF from, QPointF to) {
    Send(target, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Send(target, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    Send(target, QEvent::MouseMove, to, Qt::LeftButton);
}

void LetGo(QWidget *target, QPointF at) {
    Send(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

// The photo beside the window that shows its corrected page, for the README.
QImage PhotoBesideWindow(const QImage &photo, const QImage &window) {
    const QImage scaled = photo.scaledToHeight(window.height() * 3 / 4, Qt::SmoothTransformation);
    QImage shot(scaled.width() + 16 + window.width(), window.height(), QImage::Format_RGB32);
    shot.fill(Qt::white);
    QPainter painter(&shot);
    painter.drawImage(0, (window.height() - scaled.height()) / 2, scaled);
    painter.drawImage(scaled.width() + 16, 0, window);
    painter.end();
    return shot;
}

// The first and last index of `counts` within which all but `share` of their sum lies at each
// end: the extent of the text, a speck left out.
std::pair<int, int> extentOf(const std::vector<long> &counts, double share) {
    long total = 0;
    for (long c : counts) {
        total += c;
    }
    int first = 0, last = static_cast<int>(counts.size()) - 1;
    for (long seen = 0; first < last && (seen += counts[first]) <= total * share;) {
        ++first;
    }
    for (long seen = 0; last > first && (seen += counts[last]) <= total * share;) {
        --last;
    }
    return {first, last};
}

// How far the text lines drawn in `frame` rise or fall between the left and the right end of the
// text, in the top third of it where a bent page's lines sag most: the shift, in frame pixels,
// that best lines up the darkness of the rows of a band of columns at each end. A book's page
// bent as below and corrected by its four corners alone gives 8 or more at a frame 1000 pixels
// high.
int lineShiftAcross(const QImage &frame) {
    std::vector<long> columns(frame.width(), 0), rows(frame.height(), 0);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const bool ink = qGray(frame.pixel(x, y)) < 160;
            columns[x] += ink, rows[y] += ink;
        }
    }
    // The page's outline, drawn around it, is no text.
    for (long &c : columns) {
        c = c > frame.height() / 2 ? 0 : c;
    }
    for (long &r : rows) {
        r = r > frame.width() / 2 ? 0 : r;
    }
    const auto [left, right] = extentOf(columns, 0.005);
    const auto [top, bottom] = extentOf(rows, 0.005);
    const int width = right - left, height = (bottom - top) / 3;
    auto darkness = [&](double from, double to) {
        std::vector<long> sums(std::max(0, height), 0);
        for (int y = 0; y < height; ++y) {
            for (int x = left + int(from * width); x < left + int(to * width); ++x) {
                sums[y] += 255 - qGray(frame.pixel(x, top + y));
            }
        }
        return sums;
    };
    const std::vector<long> near = darkness(0.02, 0.12), far = darkness(0.88, 0.98);
    int best = 0;
    long bestScore = -1;
    for (int shift = -12; shift <= 12; ++shift) {
        long score = 0;
        for (int y = 12; y + 12 < height; ++y) {
            score += near[y] * far[y + shift];
        }
        if (score > bestScore) {
            bestScore = score, best = shift;
        }
    }
    return best;
}

class DocumentWindow : public WindowFixture {
protected:
    DocumentWindow() {
        desk::ensureGuiApplication();
        desk::ShotSpec spec;
        spec.desk = desk::Desk::DarkWood;
        spec.seed = 3;
        spec.width = 1200;
        spec.height = 900;
        spec.rotationDegrees = 8;
        spec.page.dpi = 100;
        photo = desk::makeDeskPhoto(spec);
        support::WriteFile(path, photo.jpeg);
    }
    void CheckDocumentCorrection() {
        auto *check = Widget<QCheckBox>(IDC_CHECK_DOCUMENT);
        MouseClick(check, check->rect().center());
        ASSERT_TRUE(dlg->Document());
    }

    // An open book photographed whole, written to book.jpg: the left page full, the right one
    // holding a third as many lines.
    support::Picture OpenBook() {
        desk::Random random(11);
        const QImage left = desk::drawnTextPage(desk::textLines(random, 34));
        const QImage right = desk::drawnTextPage(desk::textLines(random, 12));
        support::Picture spread = desk::photographSpread(left, right, 0.35, 55 * M_PI / 180, 5);
        support::WriteFile(dir / "book.jpg", support::MakeJpeg(spread));
        return spread;
    }

    support::TempDir dir;
    const std::string path = dir / "contract.jpg";
    desk::DeskPhoto photo;
};

TEST_F(DocumentWindow, ThePreviewShowsTheCorrectedPageAndOpensTheCornerEditorWhileTheBoxIsOn) {
    EXPECT_EQ(Widget<QCheckBox>(IDC_CHECK_DOCUMENT)->text(), QStringLiteral("文档校正"));
    EXPECT_FALSE(Widget<QAbstractButton>(IDC_BTN_CORNERS)->isEnabled());
    CheckDocumentCorrection();
    EXPECT_TRUE(Widget<QAbstractButton>(IDC_BTN_CORNERS)->isEnabled());
    Click(IDC_RADIO_FIT);
    AddRows({path});
    SettleChecks();
    QApplication::processEvents();
    // The frame shows paper and ink, not the dark desk around the sheet.
    const QImage frame = window->ControlWidget(IDC_PREVIEW_FRAME)->grab().toImage();
    int dark = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            dark += qGray(frame.pixel(x, y)) < 120;
        }
    }
    EXPECT_LT(dark, frame.width() * frame.height() / 12);
    const support::Picture &upright = photo.upright;
    const QImage shown(upright.samples.data(), upright.width, upright.height, upright.width * 3,
                       QImage::Format_RGB888);
    KeepScreenshot(PhotoBesideWindow(shown, window->grab().toImage()), "document-correction.png");

    // A double click on the preview opens the corner editor too.
    bool opened = false;
    WhenModal<QtCornerEditor>([&opened](QtCornerEditor &editor) {
        opened = true;
        editor.reject();
    });
    QWidget *preview = window->ControlWidget(IDC_PREVIEW_FRAME);
    QTest::mouseDClick(preview, Qt::LeftButton, {}, preview->rect().center());
    EXPECT_TRUE(opened);
    EXPECT_FALSE(
        dlg->Pages().at(RowOf(path)).shape.handCorners.has_value()); // cancelled: nothing kept
}

// A book's page photographed open, bending down into the gutter at its left: the preview shows
// it flattened, its lines level across the page.
TEST_F(DocumentWindow, ABentBookPageIsShownWithItsLinesStraightened) {
    desk::Random random(7);
    desk::BentShape shape;
    shape.share = 0.45;
    shape.angle = 60 * 3.14159265358979 / 180;
    const support::Picture bent =
        desk::photographBent(desk::drawnTextPage(desk::textLines(random, 34)), shape, 7);
    const std::string book = dir / "book.jpg";
    support::WriteFile(book, support::MakeJpeg(bent));
    window->resize(1600, 1200); // a preview large enough to see the lines by
    CheckDocumentCorrection();
    Click(IDC_RADIO_FIT);
    AddRows({book});
    SettleChecks();
    QApplication::processEvents();
    const QImage frame = window->ControlWidget(IDC_PREVIEW_FRAME)->grab().toImage();
    EXPECT_LE(std::abs(lineShiftAcross(frame)), 1);
    const QImage shown(bent.samples.data(), bent.width, bent.height, bent.width * 3,
                       QImage::Format_RGB888);
    const QImage shot = PhotoBesideWindow(shown, window->grab().toImage());
    KeepScreenshot(shot.scaledToWidth(shot.width() * 3 / 5, Qt::SmoothTransformation),
                   "curved-window.png");
}

TEST_F(DocumentWindow, TheDraggedCornerRedrawsThePageAsItMovesAndOkKeepsTheCornersForTheRow) {
    CheckDocumentCorrection();
    Click(IDC_RADIO_FIT);
    AddRows({path});
    SettleChecks();
    QImage before;
    QImage during;
    QImage after;
    CornerQuad start{};
    CornerQuad moved{};
    WhenModal<QtCornerEditor>([&](QtCornerEditor &editor) {
        auto *canvas = editor.findChild<CornerCanvas *>(QStringLiteral("cornerCanvas"));
        auto *page = editor.findChild<QLabel *>(QStringLiteral("cornerPage"));
        ASSERT_TRUE(canvas && page);
        KeepScreenshot(editor.grab().toImage(), "corner-editor.png");
        before = page->pixmap().toImage();
        start = canvas->Corners();
        const QPointF from = canvas->HandleAt(1); // top right
        const QPointF to = from + QPointF(-canvas->width() / 5.0, canvas->height() / 6.0);
        DragWithoutLettingGo(canvas, from, to);
        QTest::qWait(300);
        during = page->pixmap().toImage();
        LetGo(canvas, to);
        after = page->pixmap().toImage();
        moved = canvas->Corners();
        editor.findChild<QPushButton *>(QStringLiteral("cornerAccept"))->click();
    });
    Click(IDC_BTN_CORNERS);

    ASSERT_FALSE(before.isNull());
    ASSERT_FALSE(after.isNull());
    EXPECT_NE(before, during) << "the page waited for the handle to be let go";
    EXPECT_EQ(during, after); // let go where the drag had got to: the same page
    EXPECT_NE(before, after);
    EXPECT_LT(moved[1].x, start[1].x - 100); // photo pixels: the photo is shown smaller
    EXPECT_GT(moved[1].y, start[1].y + 100);
    EXPECT_NEAR(moved[0].x, start[0].x, 1e-9); // the other handles stay
    const std::optional<folvane::SheetCorners> kept =
        dlg->Pages().at(RowOf(path)).shape.handCorners;
    ASSERT_TRUE(kept.has_value());
    EXPECT_NEAR((*kept)[2], moved[1].x, 1); // decoded at its own size: the same pixels
    EXPECT_NEAR((*kept)[3], moved[1].y, 1);
}

TEST_F(DocumentWindow, CrossedCornersKeepTheEditorOpenWithTheRefusalUntilMended) {
    CheckDocumentCorrection();
    AddRows({path});
    SettleChecks();
    bool stayedOpen = false;
    std::string refusal;
    std::string mended;
    WhenModal<QtCornerEditor>([&](QtCornerEditor &editor) {
        auto *canvas = editor.findChild<CornerCanvas *>(QStringLiteral("cornerCanvas"));
        auto *hint = editor.findChild<QLabel *>(QStringLiteral("cornerHint"));
        auto *accept = editor.findChild<QPushButton *>(QStringLiteral("cornerAccept"));
        ASSERT_TRUE(canvas && hint && accept);
        // The top-left handle dragged past the bottom-right one: the edges cross.
        const QPointF from = canvas->HandleAt(0);
        const QPointF to = canvas->HandleAt(2) + QPointF(5, 5);
        DragWithoutLettingGo(canvas, from, to);
        LetGo(canvas, to);
        accept->click();
        QApplication::processEvents();
        stayedOpen = editor.isVisible();
        refusal = hint->text().toStdString();
        DragWithoutLettingGo(canvas, to, from);
        LetGo(canvas, from);
        mended = hint->text().toStdString();
        editor.findChild<QPushButton *>(QStringLiteral("cornerCancel"))->click();
    });
    Click(IDC_BTN_CORNERS);

    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(refusal, "这四个角围不成一页纸: 请把圆点分别拖到纸张的四个角上, 边线不要交叉。");
    EXPECT_EQ(mended, "把四个圆点拖到纸张的四个角上; 右边是校正后的页面。");
    EXPECT_FALSE(dlg->Pages().at(RowOf(path)).shape.handCorners.has_value());
}

// Columns of `frame`'s middle band whose middle rows are all the grey drawn between an open
// book's two pages.
int gapColumns(const QImage &frame) {
    int columns = 0;
    for (int x = frame.width() * 3 / 10; x < frame.width() * 7 / 10; ++x) {
        bool grey = true;
        for (int y = frame.height() * 2 / 5; y < frame.height() * 3 / 5 && grey; ++y) {
            grey = std::abs(qGray(frame.pixel(x, y)) - 160) < 12;
        }
        columns += grey;
    }
    return columns;
}

// An open book photographed whole, with "书本分两页" (which goes with "文档校正", as "从右到左"
// goes with it): the row says it gives two pages, the preview shows both side by side, and the
// PDF gets both, each counted in the progress.
TEST_F(DocumentWindow, AnOpenBookGoesInAsItsTwoPagesItsRowAndPreviewSayingSo) {
    const support::Picture spread = OpenBook();
    const std::string book = dir / "book.jpg";
    window->resize(1400, 900);
    EXPECT_FALSE(Widget<QCheckBox>(IDC_CHECK_SPREADS)->isEnabled());
    CheckDocumentCorrection();
    ASSERT_TRUE(Widget<QCheckBox>(IDC_CHECK_SPREADS)->isEnabled());
    EXPECT_FALSE(Widget<QCheckBox>(IDC_CHECK_RIGHT_TO_LEFT)->isEnabled());
    Click(IDC_RADIO_300); // a class places each page on A4; the preview shows both together
    AddRows({book});
    SettleChecks();
    QApplication::processEvents();
    const int row = RowOf(book);
    EXPECT_EQ(dlg->ImageList().GetItemText(row, 1), book); // one page until books are split
    EXPECT_EQ(gapColumns(window->ControlWidget(IDC_PREVIEW_FRAME)->grab().toImage()), 0);

    Click(IDC_CHECK_SPREADS);
    ASSERT_TRUE(dlg->Spreads());
    EXPECT_TRUE(Widget<QCheckBox>(IDC_CHECK_RIGHT_TO_LEFT)->isEnabled());
    QApplication::processEvents();
    EXPECT_EQ(dlg->ImageList().GetItemText(row, 1), "【2 页】" + book);
    const std::string tip = dlg->ImageList().GetItemToolTip(row);
    EXPECT_NE(tip.find(", 2 页"), std::string::npos) << tip;
    EXPECT_NE(tip.find("打开的书: 在书脊处分成两页"), std::string::npos) << tip;
    EXPECT_GE(gapColumns(window->ControlWidget(IDC_PREVIEW_FRAME)->grab().toImage()), 2);
    const QImage shown(spread.samples.data(), spread.width, spread.height, spread.width * 3,
                       QImage::Format_RGB888);
    const QImage shot = PhotoBesideWindow(shown, window->grab().toImage());
    KeepScreenshot(shot.scaledToWidth(shot.width() * 3 / 5, Qt::SmoothTransformation),
                   "spread-window.png");

    dlg->SetSavePath(dir / "book.pdf");
    dlg->UpdateData(false);
    RunWatcher watcher;
    Click(IDC_BTN_GENERATE);
    ASSERT_FALSE(watcher.progressTexts.empty());
    EXPECT_EQ(watcher.progressTexts.back(), "第 2 / 2 页");
    EXPECT_EQ(support::PageCount(dir / "book.pdf"), 2);
}

// Split at blank pages, a book's photo gives its document two pages, and the success box counts
// them there.
TEST_F(DocumentWindow, AnOpenBookCountsItsTwoPagesInTheDocumentOfASet) {
    OpenBook();
    support::Picture white = support::Blank(900, 1200, 3);
    std::fill(white.samples.begin(), white.samples.end(), uint8_t{250});
    const std::string blank = dir / "bz-blank.jpg"; // sorted between the book and the contract
    support::WriteFile(blank, support::MakeJpeg(white));
    CheckDocumentCorrection();
    Click(IDC_CHECK_SPREADS);
    Click(IDC_RADIO_FIT);
    AddRows({dir / "book.jpg", blank, path});
    SettleChecks();
    ASSERT_EQ(Paths(), (std::vector<std::string>{dir / "book.jpg", blank, path}));
    const SplitRun run = DriveSplitAtBlank(window, *dlg, dir / "set.pdf", "spread-set.png");
    EXPECT_EQ(run.pages, (std::vector<int>{2, 1}));
    ASSERT_FALSE(run.boxes.empty());
    EXPECT_NE(run.boxes.back().find("（2 页）"), std::string::npos) << run.boxes.back();
}

// Corners placed by hand around one page of the book make that row one page, and the row says
// so.
TEST_F(DocumentWindow, CornersPlacedAroundOnePageOfABookMakeItsRowOnePage) {
    OpenBook();
    const std::string book = dir / "book.jpg";
    CheckDocumentCorrection();
    Click(IDC_CHECK_SPREADS);
    AddRows({book});
    SettleChecks();
    QApplication::processEvents();
    ASSERT_EQ(dlg->ImageList().GetItemText(0, 1), "【2 页】" + book);
    // The right-hand handles dragged to the fold, the middle of the book's outline.
    WhenModal<QtCornerEditor>([&](QtCornerEditor &editor) {
        auto *canvas = editor.findChild<CornerCanvas *>(QStringLiteral("cornerCanvas"));
        ASSERT_TRUE(canvas);
        for (int handle : {1, 2}) {
            const QPointF from = canvas->HandleAt(handle);
            const QPointF fold((canvas->HandleAt(0).x() + canvas->HandleAt(1).x()) / 2, from.y());
            DragWithoutLettingGo(canvas, from, fold);
            LetGo(canvas, fold);
        }
        editor.findChild<QPushButton *>(QStringLiteral("cornerAccept"))->click();
    });
    Click(IDC_BTN_CORNERS);
    QApplication::processEvents();
    ASSERT_TRUE(dlg->Pages().at(0).shape.handCorners.has_value());
    EXPECT_EQ(dlg->ImageList().GetItemText(0, 1), book);
}

} // namespace
