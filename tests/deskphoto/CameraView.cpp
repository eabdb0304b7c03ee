#include "tests/deskphoto/CameraView.h"

#include <algorithm>
#include <cmath>

namespace desk {

namespace {

struct Pose {
    double spin = 0;     // radians, clockwise on the photo
    double tilt = 0;     // radians, the page's top away from the camera
    double distance = 0; // millimetres
    double tx = 0, ty = 0;
};

struct Camera {
    double focal; // pixels
    double cx, cy;
};

QPolygonF project(QSizeF page, const Pose &pose, const Camera &camera) {
    const double xs[] = {-0.5, 0.5, 0.5, -0.5}, ys[] = {-0.5, -0.5, 0.5, 0.5};
    QPolygonF quad;
    for (int i = 0; i < 4; ++i) {
        double x = xs[i] * page.width(), y = ys[i] * page.height();
        double xr = x * std::cos(pose.spin) - y * std::sin(pose.spin);
        double yr = x * std::sin(pose.spin) + y * std::cos(pose.spin);
        double zc = pose.distance - yr * std::sin(pose.tilt);
        double xc = xr + pose.tx, yc = yr * std::cos(pose.tilt) + pose.ty;
        quad << QPointF(camera.focal * xc / zc + camera.cx, camera.focal * yc / zc + camera.cy);
    }
    return quad;
}

double length(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

double keystoneOf(const QPolygonF &q) {
    return 1 - length(q[0], q[1]) / length(q[3], q[2]);
}

double areaOf(const QPolygonF &q) {
    double twice = 0;
    for (int i = 0; i < 4; ++i) {
        twice += q[i].x() * q[(i + 1) % 4].y() - q[(i + 1) % 4].x() * q[i].y();
    }
    return std::abs(twice) / 2;
}

QPointF centreOf(const QPolygonF &q) {
    return (q[0] + q[1] + q[2] + q[3]) / 4;
}

bool inside(const QPolygonF &q, QSize photo, double margin) {
    for (const QPointF &p : q) {
        if (p.x() < margin || p.y() < margin || p.x() > photo.width() - margin ||
            p.y() > photo.height() - margin) {
            return false;
        }
    }
    return true;
}

// The pose giving `keystone` and `fill` with the sheet's centre at `aim` (photo pixels).
Pose solve(QSizeF page, QSize photo, const Camera &camera, double spin, double keystone,
           double fill, QPointF aim) {
    Pose pose;
    pose.spin = spin;
    pose.distance = camera.focal * page.height() / photo.height();
    double photoArea = static_cast<double>(photo.width()) * photo.height();
    for (int round = 0; round < 12; ++round) {
        double low = 0, high = 1.3;
        for (int i = 0; i < 40; ++i) {
            pose.tilt = (low + high) / 2;
            (keystoneOf(project(page, pose, camera)) < keystone ? low : high) = pose.tilt;
        }
        QPolygonF quad = project(page, pose, camera);
        pose.distance *= std::sqrt(areaOf(quad) / photoArea / fill);
        QPointF off = aim - centreOf(project(page, pose, camera));
        pose.tx += off.x() * pose.distance / camera.focal;
        pose.ty += off.y() * pose.distance / camera.focal;
    }
    return pose;
}

} // namespace

QSizeF paperSize(Paper paper) {
    switch (paper) {
    case Paper::A5:
        return {148, 210};
    case Paper::B5:
        return {176, 250};
    case Paper::Letter:
        return {215.9, 279.4};
    case Paper::A4:
        break;
    }
    return {210, 297};
}

SheetView placeSheet(QSizeF paperMm, QSize photo, double rotationDegrees, double keystone,
                     double fill, Random &random) {
    Camera camera{0.75 * std::max(photo.width(), photo.height()), photo.width() / 2.0,
                  photo.height() / 2.0};
    double margin = 0.015 * std::min(photo.width(), photo.height());
    QPointF aim(photo.width() * (0.5 + random.uniform(-0.04, 0.04)),
                photo.height() * (0.5 + random.uniform(-0.04, 0.04)));
    double spin = rotationDegrees * M_PI / 180;
    SheetView view;
    for (double wanted = fill; wanted > 0.05; wanted -= 0.02) {
        Pose pose = solve(paperMm, photo, camera, spin, keystone, wanted, aim);
        view.quad = project(paperMm, pose, camera);
        if (inside(view.quad, photo, margin)) {
            break;
        }
        aim = QPointF(photo.width() / 2.0, photo.height() / 2.0);
    }
    view.keystone = keystoneOf(view.quad);
    view.fill = areaOf(view.quad) / (static_cast<double>(photo.width()) * photo.height());
    return view;
}

} // namespace desk
