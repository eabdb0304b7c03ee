#include "tests/deskphoto/QtPictures.h"

#include <cstring>

namespace desk {

support::Picture fromQImage(const QImage &image) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    support::Picture out = support::Blank(rgb.width(), rgb.height(), 3);
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(&out.samples[out.Index(0, y, 0)], rgb.constScanLine(y),
                    static_cast<std::size_t>(rgb.width()) * 3);
    }
    return out;
}

QImage toQImage(const support::Picture &rgb) {
    QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
    for (int y = 0; y < rgb.height; ++y) {
        std::memcpy(image.scanLine(y), &rgb.samples[rgb.Index(0, y, 0)],
                    static_cast<std::size_t>(rgb.width) * 3);
    }
    return image;
}

} // namespace desk
