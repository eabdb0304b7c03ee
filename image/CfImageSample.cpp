// The samplers behind smooth drawing: bilinear interpolation and area averaging, both with
// clamp-to-edge for points outside the image.
#include "image/CfImage.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t ClampIndex(int64_t value, int32_t size) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, size - 1));
}

// Weight of pixel k along one axis of n pixels for the span [lo, hi]: the length of its
// cell [k - 0.5, k + 0.5] inside the span, where the edge pixels' cells reach to infinity
// so that the part of the span outside the image counts for the nearest edge pixel.
double CellWeight(int64_t k, int32_t n, double lo, double hi) {
    const double cellLo = k == 0 ? lo : std::max(lo, k - 0.5);
    const double cellHi = k == n - 1 ? hi : std::min(hi, k + 0.5);
    return std::max(0.0, cellHi - cellLo);
}

// First and last pixel touched by [lo, hi], within the image.
std::pair<int32_t, int32_t> TouchedRange(double lo, double hi, int32_t n) {
    return {ClampIndex(static_cast<int64_t>(std::floor(std::clamp(lo + 0.5, -1.0, double(n)))), n),
            ClampIndex(static_cast<int64_t>(std::floor(std::clamp(hi + 0.5, -1.0, double(n)))), n)};
}

uint8_t TruncateChannel(double value) {
    return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
}

} // namespace

RGBQUAD CfImage::SampleInterpolated(float px, float py) const {
    const int32_t w = static_cast<int32_t>(GetWidth());
    const int32_t h = static_cast<int32_t>(GetHeight());
    if (!block || w <= 0 || h <= 0) {
        return RGBQUAD{};
    }
    // Far outside (or not a number): move the point onto the image first.
    if (!(px >= -1.0f && px < static_cast<float>(w) && py >= -1.0f && py < static_cast<float>(h))) {
        px = px > 0.0f ? std::min(px, static_cast<float>(w - 1)) : 0.0f;
        py = py > 0.0f ? std::min(py, static_cast<float>(h - 1)) : 0.0f;
    }
    const int32_t i = static_cast<int32_t>(std::floor(px));
    const int32_t j = static_cast<int32_t>(std::floor(py));
    const float dx = px - static_cast<float>(i);
    const float dy = py - static_cast<float>(j);

    if (!HasPalette() && i >= 0 && j >= 0 && i + 1 < w && j + 1 < h) {
        const int32_t ix = static_cast<int32_t>(dx * 256);
        const int32_t iy = static_cast<int32_t>(dy * 256);
        const int32_t ixy = (ix * iy) >> 8;
        const int32_t w00 = 256 - ix - iy + ixy;
        const int32_t w10 = ix - ixy;
        const int32_t w01 = iy - ixy;
        const int32_t w11 = ixy;
        const uint8_t *p00 = info.pixels + size_t(j) * info.rowStride + size_t(i) * 3;
        const uint8_t *p01 = p00 + info.rowStride;
        auto blend = [&](uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
            return static_cast<uint8_t>((w00 * a + w10 * b + w01 * c + w11 * d) >> 8);
        };
        RGBQUAD colour;
        colour.rgbBlue = blend(p00[0], p00[3], p01[0], p01[3]);
        colour.rgbGreen = blend(p00[1], p00[4], p01[1], p01[4]);
        colour.rgbRed = blend(p00[2], p00[5], p01[2], p01[5]);
        colour.rgbReserved = 0;
        if (alpha) {
            const uint8_t *a0 = alpha + size_t(j) * size_t(w) + size_t(i);
            const uint8_t *a1 = a0 + w;
            colour.rgbReserved = blend(a0[0], a0[1], a1[0], a1[1]);
        }
        return colour;
    }

    // Border or palette: four neighbours through clamp-to-edge, weights in floating point.
    const int32_t i0 = ClampIndex(i, w);
    const int32_t i1 = ClampIndex(int64_t{i} + 1, w);
    const int32_t j0 = ClampIndex(j, h);
    const int32_t j1 = ClampIndex(int64_t{j} + 1, h);
    const RGBQUAD c00 = PixelColorAtUnguarded(i0, j0, true);
    const RGBQUAD c10 = PixelColorAtUnguarded(i1, j0, true);
    const RGBQUAD c01 = PixelColorAtUnguarded(i0, j1, true);
    const RGBQUAD c11 = PixelColorAtUnguarded(i1, j1, true);
    const float w00 = (1 - dx) * (1 - dy);
    const float w10 = dx * (1 - dy);
    const float w01 = (1 - dx) * dy;
    const float w11 = dx * dy;
    auto blend = [&](uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
        return TruncateChannel(w00 * a + w10 * b + w01 * c + w11 * d);
    };
    return RGBQUAD{blend(c00.rgbBlue, c10.rgbBlue, c01.rgbBlue, c11.rgbBlue),
                   blend(c00.rgbGreen, c10.rgbGreen, c01.rgbGreen, c11.rgbGreen),
                   blend(c00.rgbRed, c10.rgbRed, c01.rgbRed, c11.rgbRed),
                   blend(c00.rgbReserved, c10.rgbReserved, c01.rgbReserved, c11.rgbReserved)};
}

RGBQUAD CfImage::SampleAreaAverage(float px, float py, float boxWidth, float boxHeight) const {
    const int32_t w = static_cast<int32_t>(GetWidth());
    const int32_t h = static_cast<int32_t>(GetHeight());
    if (!block || w <= 0 || h <= 0) {
        return RGBQUAD{};
    }
    if (!(boxWidth > 0 && boxHeight > 0 && std::isfinite(boxWidth) && std::isfinite(boxHeight) &&
          std::isfinite(px) && std::isfinite(py))) {
        return SampleInterpolated(px, py);
    }
    const double left = double(px) - boxWidth / 2.0;
    const double right = double(px) + boxWidth / 2.0;
    const double top = double(py) - boxHeight / 2.0;
    const double bottom = double(py) + boxHeight / 2.0;
    const auto [firstColumn, lastColumn] = TouchedRange(left, right, w);
    const auto [firstRow, lastRow] = TouchedRange(top, bottom, h);

    double sum[4] = {0, 0, 0, 0};
    for (int32_t m = firstRow; m <= lastRow; ++m) {
        const double rowWeight = CellWeight(m, h, top, bottom);
        if (rowWeight <= 0) {
            continue;
        }
        for (int32_t k = firstColumn; k <= lastColumn; ++k) {
            const double weight = rowWeight * CellWeight(k, w, left, right);
            const RGBQUAD c = PixelColorAtUnguarded(k, m, true);
            sum[0] += weight * c.rgbBlue;
            sum[1] += weight * c.rgbGreen;
            sum[2] += weight * c.rgbRed;
            sum[3] += weight * c.rgbReserved;
        }
    }
    const double area = double(boxWidth) * double(boxHeight);
    return RGBQUAD{TruncateChannel(sum[0] / area), TruncateChannel(sum[1] / area),
                   TruncateChannel(sum[2] / area), TruncateChannel(sum[3] / area)};
}
