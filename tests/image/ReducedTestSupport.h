// Helpers of the reduced-decode tests: decoded images as pictures, upright and top row first,
// and the area average of a picture computed directly in floating point, independently of the
// reducer under test.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "image/CfImage.h"
#include "image/ReducedDecode.h"
#include "tests/support/Picture.h"

namespace reducedtest {

// The image's colours (1 component for an 8-bit image with a grey palette, else red, green,
// blue) and its alpha plane as one more component, top row first.
inline support::Picture ToPicture(const CfImage &image) {
    const int width = static_cast<int>(image.GetWidth());
    const int height = static_cast<int>(image.GetHeight());
    bool grey = image.GetBitsPerPixel() <= 8;
    for (uint32_t i = 0; grey && i < image.GetColorCount(); ++i) {
        const RGBQUAD e = image.PaletteEntry(uint8_t(i));
        grey = e.rgbRed == e.rgbGreen && e.rgbGreen == e.rgbBlue;
    }
    const int colours = grey ? 1 : 3;
    const int components = colours + (image.HasAlphaChannel() ? 1 : 0);
    support::Picture picture = support::Blank(width, height, components);
    for (int y = 0; y < height; ++y) {
        const int32_t row = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const RGBQUAD c = image.PixelColorAt(x, row, false);
            const uint8_t rgb[3] = {c.rgbRed, c.rgbGreen, c.rgbBlue};
            for (int k = 0; k < colours; ++k) {
                picture.At(x, y, k) = rgb[k];
            }
            if (image.HasAlphaChannel()) {
                picture.At(x, y, colours) = *image.AlphaPointer(x, row);
            }
        }
    }
    return picture;
}

// Weight of source pixel s (covering [s, s + 1)) in target pixel k of an axis of n source and
// t target pixels (target k covers [k n / t, (k + 1) n / t)).
inline double Overlap(int s, int k, int n, int t) {
    const double lo = std::max<double>(s, double(k) * n / t);
    const double hi = std::min<double>(s + 1, double(k + 1) * n / t);
    return std::max(0.0, hi - lo);
}

// Each target pixel the mean of the source area it covers, rounded.
inline support::Picture AreaAverage(const support::Picture &source, int width, int height) {
    support::Picture target = support::Blank(width, height, source.components);
    for (int ty = 0; ty < height; ++ty) {
        const int y0 = ty * source.height / height;
        const int y1 = std::min(source.height - 1, (ty + 1) * source.height / height);
        for (int tx = 0; tx < width; ++tx) {
            const int x0 = tx * source.width / width;
            const int x1 = std::min(source.width - 1, (tx + 1) * source.width / width);
            std::vector<double> sum(size_t(source.components), 0.0);
            double total = 0;
            for (int y = y0; y <= y1; ++y) {
                const double wy = Overlap(y, ty, source.height, height);
                for (int x = x0; x <= x1 && wy > 0; ++x) {
                    const double w = wy * Overlap(x, tx, source.width, width);
                    for (int c = 0; c < source.components; ++c) {
                        sum[size_t(c)] += w * source.At(x, y, c);
                    }
                    total += w;
                }
            }
            for (int c = 0; c < source.components; ++c) {
                target.At(tx, ty, c) = uint8_t(std::lround(sum[size_t(c)] / total));
            }
        }
    }
    return target;
}

// The part [left, right) x [top, bottom) of a picture.
inline support::Picture Crop(const support::Picture &picture, const ImageBox &box) {
    support::Picture part =
        support::Blank(box.right - box.left, box.bottom - box.top, picture.components);
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            for (int c = 0; c < picture.components; ++c) {
                part.At(x - box.left, y - box.top, c) = picture.At(x, y, c);
            }
        }
    }
    return part;
}

// A chooser that always asks for width x height, keeping `keep`.
inline ReducedSizeChooser Fixed(uint32_t width, uint32_t height, ImageBox keep = {0, 0, 0, 0}) {
    return [=](uint32_t, uint32_t) {
        return std::optional<ReducedSize>(ReducedSize{width, height, keep});
    };
}

} // namespace reducedtest
