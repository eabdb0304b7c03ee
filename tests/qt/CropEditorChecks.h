// The crop editor of the real window driven as a user would: a handle dragged with the mouse,
// the arrow keys, a rectangle too small kept open with its hint, then OK. Shared by the two
// language programs, which keep its screenshot in their language.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <string>

#include "platform/qt/CropCanvas.h"
#include "platform/qt/QtCropEditor.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"

struct CropEditorRun {
    bool opened = false;
    std::string title;
    std::string refusal;     // the hint shown for a rectangle too small
    bool stayedOpen = false; // after OK on that rectangle
};

inline void SendMouse(QWidget *target, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Answers the next crop editor: drags the top-left handle an eighth of the way in, moves it one
// pixel right and (with Shift) ten down, keeps the screenshot as `shot`, tries a rectangle of
// three pixels, then keeps the dragged one.
inline void DriveCropEditor(CropEditorRun &run, const char *shot) {
    WhenModal<QtCropEditor>([&run, shot](QtCropEditor &editor) {
        run.opened = true;
        run.title = editor.windowTitle().toStdString();
        auto *canvas = editor.findChild<CropCanvas *>(QStringLiteral("cropCanvas"));
        auto *hint = editor.findChild<QLabel *>(QStringLiteral("cropHint"));
        auto *accept = editor.findChild<QPushButton *>(QStringLiteral("cropAccept"));
        ASSERT_TRUE(canvas && hint && accept);
        const CropBox whole = canvas->Crop();
        const QPointF from = canvas->HandleAt(CropCanvas::TopLeft);
        const QPointF to = from + QPointF(canvas->width() / 8.0, canvas->height() / 8.0);
        SendMouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton);
        SendMouse(canvas, QEvent::MouseMove, to, Qt::LeftButton);
        SendMouse(canvas, QEvent::MouseButtonRelease, to, Qt::NoButton);
        const CropBox dragged = canvas->Crop();
        EXPECT_GT(dragged.left, 0);
        EXPECT_GT(dragged.top, 0);
        EXPECT_EQ(dragged.right, whole.right); // the corner moves two edges, not the others
        EXPECT_EQ(dragged.bottom, whole.bottom);
        QTest::keyClick(canvas, Qt::Key_Right);
        QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
        const CropBox keyed = canvas->Crop();
        EXPECT_EQ(keyed.left, dragged.left + 1);
        EXPECT_EQ(keyed.top, dragged.top + 10);
        KeepScreenshot(editor.grab().toImage(), shot);

        canvas->SetCrop(CropBox{0, 0, 3, 3});
        accept->click();
        run.stayedOpen = editor.isVisible();
        run.refusal = hint->text().toStdString();
        canvas->SetCrop(keyed);
        accept->click();
    });
}
