#pragma once

#include <QFrame>
#include <memory>

#include "platform/gdi/CSurface.h"

// The preview frame: a plain rectangle filled with the window colour, inside which the
// preview draws through a window device context. The frame keeps those pixels in a surface
// of its client size and paints them on every repaint, so the picture stays when the window
// is covered and uncovered; an update after an erasing invalidation clears it.
class PreviewFrame : public QFrame {
    Q_OBJECT

public:
    explicit PreviewFrame(QWidget *parent = nullptr);

    // The client-sized surface, made (window-coloured) on first use and again after a resize.
    CSurface *Surface();
    // The next UpdateWindow erases the surface to the window colour.
    void RequestErase() { m_erasePending = true; }
    void ApplyPendingErase();

signals:
    // The user double-clicked the frame.
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    std::unique_ptr<CSurface> m_surface;
    bool m_erasePending = false;
};
