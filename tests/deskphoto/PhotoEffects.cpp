#include "tests/deskphoto/PhotoEffects.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QImage>
#include <QPainter>

namespace desk {

namespace {

uint8_t clampByte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// One pass of a running-mean blur of `radius` along rows (step 1) or columns (step width).
void boxPass(std::vector<float> &plane, int width, int height, int radius, bool rows) {
    int lines = rows ? height : width, length = rows ? width : height;
    std::vector<float> line(length), out(length);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < length; ++i) {
            line[i] = plane[rows ? static_cast<size_t>(l) * width + i
                                 : static_cast<size_t>(i) * width + l];
        }
        double sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            sum += line[std::clamp(i, 0, length - 1)];
        }
        for (int i = 0; i < length; ++i) {
            out[i] = static_cast<float>(sum / (2 * radius + 1));
            sum += line[std::min(i + radius + 1, length - 1)] - line[std::max(i - radius, 0)];
        }
        for (int i = 0; i < length; ++i) {
            plane[rows ? static_cast<size_t>(l) * width + i : static_cast<size_t>(i) * width + l] =
                out[i];
        }
    }
}

// Three box passes each way come close to a Gaussian of deviation `sigma`.
void gaussianPlane(std::vector<float> &plane, int width, int height, double sigma) {
    int radius =
        std::max(0, static_cast<int>(std::lround(std::sqrt(sigma * sigma * 4 + 1) / 2 - 0.5)));
    if (radius == 0 && sigma > 0.3) {
        radius = 1;
    }
    for (int pass = 0; pass < 3 && radius > 0; ++pass) {
        boxPass(plane, width, height, radius, true);
        boxPass(plane, width, height, radius, false);
    }
}

} // namespace

void applyLight(support::Picture &photo, double falloff, Random &random) {
    double side = random.uniform(-0.15, 0.15);
    double cx = photo.width / 2.0, cy = photo.height / 2.0;
    double reach = cx * cx + cy * cy;
    for (int y = 0; y < photo.height; ++y) {
        for (int x = 0; x < photo.width; ++x) {
            double r2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / reach;
            double gain = (1 - falloff * r2) * (1 + side * (x - cx) / cx);
            for (int c = 0; c < 3; ++c) {
                photo.At(x, y, c) = clampByte(photo.At(x, y, c) * gain);
            }
        }
    }
}

void applyShadow(support::Picture &photo, const QPolygonF &shadow, double strength,
                 double softness) {
    QImage mask(photo.width, photo.height, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        p.drawPolygon(shadow);
    }
    std::vector<float> plane(static_cast<size_t>(photo.width) * photo.height);
    for (int y = 0; y < photo.height; ++y) {
        const uchar *row = mask.constScanLine(y);
        for (int x = 0; x < photo.width; ++x) {
            plane[static_cast<size_t>(y) * photo.width + x] = row[x] / 255.0f;
        }
    }
    gaussianPlane(plane, photo.width, photo.height, softness / 2);
    for (int y = 0; y < photo.height; ++y) {
        for (int x = 0; x < photo.width; ++x) {
            double gain = 1 - strength * plane[static_cast<size_t>(y) * photo.width + x];
            for (int c = 0; c < 3; ++c) {
                photo.At(x, y, c) = clampByte(photo.At(x, y, c) * gain);
            }
        }
    }
}

void applyCast(support::Picture &photo, double strength) {
    const double gains[] = {1.0, 1 - 0.07 * strength, 1 - 0.2 * strength};
    for (size_t i = 0; i < photo.samples.size(); ++i) {
        photo.samples[i] = clampByte(photo.samples[i] * gains[i % 3]);
    }
}

void blur(support::Picture &photo, double sigma) {
    if (sigma <= 0) {
        return;
    }
    std::vector<float> plane(static_cast<size_t>(photo.width) * photo.height);
    for (int c = 0; c < 3; ++c) {
        for (size_t i = 0; i < plane.size(); ++i) {
            plane[i] = photo.samples[i * 3 + c];
        }
        gaussianPlane(plane, photo.width, photo.height, sigma);
        for (size_t i = 0; i < plane.size(); ++i) {
            photo.samples[i * 3 + c] = clampByte(plane[i]);
        }
    }
}

void addNoise(support::Picture &photo, double sigma, Random &random) {
    for (uint8_t &s : photo.samples) {
        s = clampByte(s + sigma * random.normal());
    }
}

support::Picture storedFor(const support::Picture &upright, int orientation) {
    bool swapped = orientation >= 5 && orientation <= 8;
    int w = swapped ? upright.height : upright.width, h = swapped ? upright.width : upright.height;
    support::Picture stored = support::Blank(w, h, upright.components);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Where stored pixel (x, y) shows in the upright picture.
            int ux = x, uy = y;
            switch (orientation) {
            case 2:
                ux = w - 1 - x;
                break;
            case 3:
                ux = w - 1 - x, uy = h - 1 - y;
                break;
            case 4:
                uy = h - 1 - y;
                break;
            case 5:
                ux = y, uy = x;
                break;
            case 6:
                ux = h - 1 - y, uy = x;
                break;
            case 7:
                ux = h - 1 - y, uy = w - 1 - x;
                break;
            case 8:
                ux = y, uy = w - 1 - x;
                break;
            default:
                break;
            }
            for (int c = 0; c < upright.components; ++c) {
                stored.At(x, y, c) = upright.At(ux, uy, c);
            }
        }
    }
    return stored;
}

uint32_t Random::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 16);
}

double Random::uniform(double low, double high) {
    return low + (high - low) * (next() / 4294967296.0);
}

double Random::normal() {
    double u = (next() + 1.0) / 4294967297.0, v = next() / 4294967296.0;
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * M_PI * v);
}

} // namespace desk
