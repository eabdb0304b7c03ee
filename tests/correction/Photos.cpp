#include "tests/correction/Photos.h"

#include <algorithm>
#include <cmath>

#include "tests/support/Jpeg.h"

namespace correction_test {

folvane::correction::Picture pictureOf(const support::Picture &rgb, int orientation,
                                       folvane::correction::SourceKind kind) {
    folvane::correction::Picture picture;
    picture.pixels = rgb.samples.data();
    picture.size = rgb.samples.size();
    picture.width = rgb.width;
    picture.height = rgb.height;
    picture.channels = rgb.components;
    picture.stride = static_cast<std::size_t>(rgb.width) * rgb.components;
    picture.orientation = orientation;
    picture.kind = kind;
    return picture;
}

support::Picture decoded(const desk::DeskPhoto &photo) {
    support::JpegReadOptions options;
    options.colourSpace = JCS_RGB;
    return support::DecodeJpeg(photo.jpeg, options).picture;
}

double cornerError(const folvane::correction::Corners &found, const desk::Corners &truth, int width,
                   int height) {
    double worst = 0;
    for (int i = 0; i < 4; ++i) {
        worst = std::max(worst, std::hypot(found[i].x - truth[i].x, found[i].y - truth[i].y));
    }
    return worst / std::hypot(width, height);
}

int uprightWidth(const desk::DeskPhoto &photo) {
    return photo.upright.width;
}

int uprightHeight(const desk::DeskPhoto &photo) {
    return photo.upright.height;
}

} // namespace correction_test
