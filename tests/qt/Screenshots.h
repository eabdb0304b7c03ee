// What the window shows, measured on its pixels: the sample pages copied where a user keeps
// scans, mean colours of screen areas and of pictures, and screenshots kept for the docs.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QWidget>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

// The bundled sample pages copied into `folder` (created) inside dir; their paths.
inline std::vector<std::string> CopySamples(const support::TempDir &dir,
                                            const std::string &folder) {
    QDir(QString::fromStdString(dir.Path())).mkpath(QString::fromStdString(folder));
    std::vector<std::string> paths;
    for (const char *page : {"page-1.jpg", "page-2.jpg", "page-3.tif"}) {
        paths.push_back(dir / (folder + "/" + page));
        support::WriteFile(paths.back(), support::ReadFile(std::string(FOLVANE_SOURCE_DIR) +
                                                           "/res/samples/" + page));
    }
    return paths;
}

// The sample page page-1.jpg photographed sideways, with no orientation saying so: stored a
// quarter turn anticlockwise, as `name` inside dir; its path.
inline std::string WriteSidewaysSample(const support::TempDir &dir, const std::string &name) {
    const support::Picture page =
        support::DecodeJpeg(
            support::ReadFile(std::string(FOLVANE_SOURCE_DIR) + "/res/samples/page-1.jpg"),
            {JCS_RGB})
            .picture;
    support::Picture sideways = support::Blank(page.height, page.width, 3);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                sideways.At(y, page.width - 1 - x, c) = page.At(x, y, c);
            }
        }
    }
    const std::string path = dir / name;
    support::WriteFile(path, support::MakeJpeg(sideways));
    return path;
}

// The central half (in each direction) of a rectangle.
inline QRect CentralHalf(const QRect &area) {
    return QRect(area.x() + area.width() / 4, area.y() + area.height() / 4, area.width() / 2,
                 area.height() / 2);
}

inline QColor MeanColour(const QImage &image, const QRect &area) {
    double sum[3] = {0, 0, 0};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qBlue(pixel);
        }
    }
    const double n = std::max(1, area.width() * area.height());
    return QColor(int(sum[0] / n + 0.5), int(sum[1] / n + 0.5), int(sum[2] / n + 0.5));
}

// The mean colour of the central half of the sample page page-1.jpg, as libjpeg decodes it.
inline QColor SamplePageCentre() {
    const support::Picture page =
        support::DecodeJpeg(
            support::ReadFile(std::string(FOLVANE_SOURCE_DIR) + "/res/samples/page-1.jpg"),
            {JCS_RGB})
            .picture;
    return MeanColour(
        QImage(page.samples.data(), page.width, page.height, page.width * 3, QImage::Format_RGB888),
        CentralHalf(QRect(0, 0, page.width, page.height)));
}

inline int ColourDistance(const QColor &a, const QColor &b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

// Pixels of the area that stand out from its most common colour: the ink of text drawn on a
// plain background.
inline int InkPixels(const QImage &image, const QRect &area) {
    std::vector<std::pair<QRgb, int>> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            auto it = std::find_if(counts.begin(), counts.end(),
                                   [pixel](const auto &c) { return c.first == pixel; });
            if (it == counts.end()) {
                counts.push_back({pixel, 1});
            } else {
                ++it->second;
            }
        }
    }
    if (counts.empty()) {
        return 0;
    }
    const QColor background =
        std::max_element(counts.begin(), counts.end(), [](const auto &a, const auto &b) {
            return a.second < b.second;
        })->first;
    int ink = 0;
    for (const auto &[pixel, count] : counts) {
        ink += ColourDistance(QColor(pixel), background) > 80 ? count : 0;
    }
    return ink;
}

// Saves the screenshot as `name` in the folder FOLVANE_SCREENSHOTS names, when it is set: the
// pictures in docs/ are made this way from the real window.
inline void KeepScreenshot(const QImage &shot, const char *name) {
    if (const char *folder = std::getenv("FOLVANE_SCREENSHOTS")) {
        shot.save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name)));
    }
}

// The window with a modal dialog over its middle, as a desktop shows them (without its title
// bars), kept like KeepScreenshot.
inline void KeepScreenshotOver(QWidget *window, QWidget *dialog, const char *name) {
    if (!std::getenv("FOLVANE_SCREENSHOTS")) {
        return;
    }
    QImage shot = window->grab().toImage();
    const QImage top = dialog->grab().toImage();
    const QPoint at((shot.width() - top.width()) / 2, (shot.height() - top.height()) / 2);
    QPainter painter(&shot);
    painter.fillRect(QRect(at - QPoint(1, 1), top.size() + QSize(2, 2)), QColor(90, 90, 90));
    painter.drawImage(at, top);
    painter.end();
    KeepScreenshot(shot, name);
}
