#include "platform/qt/PreviewFrame.h"

#include <QImage>
#include <QPainter>

PreviewFrame::PreviewFrame(QWidget *parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(1);
}

CSurface *PreviewFrame::Surface() {
    const QSize size = contentsRect().size();
    if (!m_surface || m_surface->Width() != size.width() || m_surface->Height() != size.height()) {
        m_surface = std::make_unique<CSurface>(size.width(), size.height());
    }
    return m_surface.get();
}

void PreviewFrame::ApplyPendingErase() {
    if (m_erasePending && m_surface) {
        m_surface->Erase();
    }
    m_erasePending = false;
}

void PreviewFrame::paintEvent(QPaintEvent *event) {
    {
        QPainter painter(this);
        const QRect client = contentsRect();
        if (m_surface && m_surface->Width() == client.width() &&
            m_surface->Height() == client.height()) {
            // The surface's rows are 0xFFRRGGBB words, exactly QImage's RGB32 layout.
            const QImage pixels(m_surface->Row(0), m_surface->Width(), m_surface->Height(),
                                m_surface->Pitch(), QImage::Format_RGB32);
            painter.drawImage(client.topLeft(), pixels);
        } else {
            painter.fillRect(client, palette().color(QPalette::Base));
        }
    }
    QFrame::paintEvent(event);
}

void PreviewFrame::mouseDoubleClickEvent(QMouseEvent * /*event*/) {
    emit DoubleClicked();
}
