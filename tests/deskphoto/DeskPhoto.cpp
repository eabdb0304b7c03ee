#include "tests/deskphoto/DeskPhoto.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QTransform>

#include "tests/deskphoto/CameraView.h"
#include "tests/deskphoto/DeskScene.h"
#include "tests/deskphoto/PhotoEffects.h"
#include "tests/deskphoto/QtPictures.h"
#include "tests/support/Jpeg.h"

namespace desk {

namespace {

QPolygonF quadOf(QPointF a, QPointF b, QPointF c, QPointF d) {
    QPolygonF q;
    q << a << b << c << d;
    return q;
}

Corners cornersOf(const QPolygonF &quad) {
    // Qt's (0, 0) is the top-left pixel's outer corner; ours is its centre.
    Corners corners;
    for (int i = 0; i < 4; ++i) {
        corners[i] = {quad[i].x() - 0.5, quad[i].y() - 0.5};
    }
    return corners;
}

// The page's resolution once it is in the photo: drawn at about the photo's own scale, so
// the warp neither blurs nor aliases its text.
double pageDpiFor(const SheetView &view, QSizeF paperMm) {
    double tall =
        std::hypot(view.quad[3].x() - view.quad[0].x(), view.quad[3].y() - view.quad[0].y());
    return std::clamp(tall / (paperMm.height() / 25.4), 40.0, 300.0);
}

void drawSheet(QImage &photo, const support::Picture &page, const QPolygonF &quad) {
    QTransform transform;
    QPolygonF from = quadOf({0, 0}, {static_cast<double>(page.width), 0},
                            {static_cast<double>(page.width), static_cast<double>(page.height)},
                            {0, static_cast<double>(page.height)});
    QTransform::quadToQuad(from, quad, transform);
    QPainter p(&photo);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(transform);
    // Paper is never quite white: a warm off-white sheet.
    QImage sheet = toQImage(page);
    QPainter tint(&sheet);
    tint.setCompositionMode(QPainter::CompositionMode_Multiply);
    tint.fillRect(sheet.rect(), QColor(246, 244, 238));
    tint.end();
    p.drawImage(QPointF(0, 0), sheet);
}

// A soft shadow: over the middle of one of the sheet's sides and onto the desk, or inside it.
QPolygonF shadowShape(const SheetView &view, bool acrossEdge, Random &random) {
    const QPolygonF &q = view.quad;
    QPointF centre = (q[0] + q[1] + q[2] + q[3]) / 4;
    if (!acrossEdge) {
        QPointF at = centre + (q[2] - centre) * 0.45;
        double r = std::hypot(q[2].x() - q[0].x(), q[2].y() - q[0].y()) * 0.18;
        return quadOf(at + QPointF(-r, -r * 0.6), at + QPointF(r * 1.2, -r * 0.8),
                      at + QPointF(r, r * 0.7), at + QPointF(-r * 1.1, r * 0.5));
    }
    int side = static_cast<int>(random.uniform(0, 4)) % 4;
    QPointF a = q[side], b = q[(side + 1) % 4];
    QPointF middle = a + (b - a) * random.uniform(0.35, 0.65);
    QPointF along = (b - a) * 0.22;
    QPointF in = (centre - middle) * 0.35;
    return quadOf(middle - along - in * 0.6, middle + along - in * 0.6, middle + along + in,
                  middle - along + in);
}

} // namespace

DeskPhoto makeDeskPhoto(const ShotSpec &spec) {
    ensureGuiApplication();
    Random random(spec.seed);
    DeskPhoto photo;
    photo.spec = spec;
    photo.hasSheet = spec.sheet;
    QSize size(spec.width, spec.height);
    SheetView view;
    QSizeF paperMm = paperSize(spec.page.paper);
    if (spec.sheet) {
        view = placeSheet(paperMm, size, spec.rotationDegrees, spec.keystone, spec.fill, random);
    }
    QImage image(size, QImage::Format_RGB888);
    drawDesk(image, spec.desk, view.quad, random);
    if (spec.sheet) {
        PageSpec page = spec.page;
        page.dpi = pageDpiFor(view, paperMm);
        photo.flatPage = drawPage(page);
        drawSheet(image, photo.flatPage, view.quad);
        drawOverSheet(image, spec.desk, view.quad, random);
        photo.corners = cornersOf(view.quad);
        photo.keystone = view.keystone;
        photo.fill = view.fill;
    }
    photo.upright = fromQImage(image);
    applyLight(photo.upright, spec.falloff, random);
    if (spec.shadow && spec.sheet) {
        applyShadow(photo.upright, shadowShape(view, spec.shadowAcrossEdge, random), 0.45,
                    0.03 * std::min(spec.width, spec.height));
    }
    applyCast(photo.upright, spec.cast);
    blur(photo.upright, spec.blurSigma);
    addNoise(photo.upright, spec.noiseSigma, random);
    photo.stored = storedFor(photo.upright, spec.orientation);
    support::JpegOptions options;
    options.quality = spec.jpegQuality;
    options.exifOrientation = spec.orientation;
    photo.jpeg = support::MakeJpeg(photo.stored, options);
    return photo;
}

Scan makeScan(const ScanSpec &spec) {
    ensureGuiApplication();
    Random random(spec.seed);
    Scan scan;
    PageSpec page = spec.page;
    page.dpi = spec.dpi;
    scan.flatPage = drawPage(page);
    scan.angleDegrees = spec.angleDegrees;
    double w = scan.flatPage.width, h = scan.flatPage.height;
    double a = spec.angleDegrees * M_PI / 180;
    // The glass is a little larger than the page turned on it.
    double across =
        spec.darkBorder ? std::abs(w * std::cos(a)) + std::abs(h * std::sin(a)) + 0.06 * w : w;
    double down =
        spec.darkBorder ? std::abs(w * std::sin(a)) + std::abs(h * std::cos(a)) + 0.06 * h : h;
    QImage image(static_cast<int>(std::lround(across)), static_cast<int>(std::lround(down)),
                 QImage::Format_RGB888);
    image.fill(spec.darkBorder ? QColor(28, 28, 30) : QColor(255, 255, 255));
    QTransform t;
    t.translate(image.width() / 2.0 + random.uniform(-0.01, 0.01) * w,
                image.height() / 2.0 + random.uniform(-0.01, 0.01) * h);
    t.rotate(spec.angleDegrees);
    t.translate(-w / 2, -h / 2);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::Antialiasing);
        p.setTransform(t);
        p.drawImage(QPointF(0, 0), toQImage(scan.flatPage));
    }
    QPolygonF quad = t.map(quadOf({0, 0}, {w, 0}, {w, h}, {0, h}));
    scan.corners = cornersOf(quad);
    scan.picture = fromQImage(image);
    blur(scan.picture, 0.5);
    addNoise(scan.picture, 1.5, random);
    return scan;
}

} // namespace desk

// Fontconfig keeps a cache for the life of the process; the leak checker is told so.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
