#include "tests/support/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace support {

uint32_t Picture::Rgb(int x, int y) const {
    return uint32_t{At(x, y, 0)} << 16 | uint32_t{At(x, y, 1)} << 8 | At(x, y, 2);
}

Picture Blank(int width, int height, int components) {
    Picture picture{width, height, components, {}};
    picture.samples.assign(static_cast<std::size_t>(width) * height * components, 0);
    return picture;
}

Picture MarkedSheet(int width, int height, int components) {
    Picture picture = Blank(width, height, components);
    std::fill(picture.samples.begin(), picture.samples.end(), uint8_t{245});
    for (int y = height * 2 / 5; y < height * 3 / 5; ++y) {
        for (int x = width / 4; x < width * 3 / 4; ++x) {
            for (int c = 0; c < components; ++c) {
                picture.At(x, y, c) = 20;
            }
        }
    }
    return picture;
}

Picture RgbPicture(int width, const std::vector<uint32_t> &pixels) {
    const int height = width > 0 ? static_cast<int>(pixels.size()) / width : 0;
    Picture picture = Blank(width, height, 3);
    for (std::size_t i = 0; i < pixels.size() && i < picture.samples.size() / 3; ++i) {
        picture.samples[3 * i] = static_cast<uint8_t>(pixels[i] >> 16);
        picture.samples[3 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        picture.samples[3 * i + 2] = static_cast<uint8_t>(pixels[i]);
    }
    return picture;
}

Picture Pattern(int width, int height, int components, int seed) {
    Picture picture = Blank(width, height, components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                int v = 0;
                switch (c) {
                case 0:
                    v = x * 255 / std::max(1, width - 1);
                    break;
                case 1:
                    v = y * 255 / std::max(1, height - 1);
                    break;
                case 2:
                    v = (x / 4 + y / 4) % 2 == 0 ? 220 : 30;
                    break;
                default:
                    v = (x + y) % 7 < 3 ? 40 : 200;
                    break;
                }
                picture.At(x, y, c) = static_cast<uint8_t>(v + seed * 53);
            }
        }
    }
    return picture;
}

Picture Solid(int width, int height, uint32_t rgb) {
    Picture picture = Blank(width, height, 3);
    for (std::size_t i = 0; i < picture.samples.size(); i += 3) {
        picture.samples[i] = static_cast<uint8_t>(rgb >> 16);
        picture.samples[i + 1] = static_cast<uint8_t>(rgb >> 8);
        picture.samples[i + 2] = static_cast<uint8_t>(rgb);
    }
    return picture;
}

Picture Noise(int width, int height, int components, uint32_t seed) {
    Picture picture = Blank(width, height, components);
    for (uint8_t &sample : picture.samples) {
        seed = seed * 1103515245u + 12345u;
        sample = static_cast<uint8_t>(seed >> 24);
    }
    return picture;
}

Picture Photo(int width, int height, int seed) {
    Picture picture = Blank(width, height, 3);
    uint32_t state = 12345u + static_cast<uint32_t>(seed) * 2654435761u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width;
            const double fy = double(y) / height;
            const double shade = 0.5 + 0.5 * std::sin(fx * 5.0 + fy * 3.0 + seed);
            const double texture = 0.5 + 0.5 * std::sin(x * 0.21) * std::cos(y * 0.17);
            const bool shape =
                std::hypot(fx - 0.6, fy - 0.45) < 0.2 || (x / 300 + y / 300) % 5 == 0;
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 27) - 16;
            const int rgb[3] = {int(40 + 160 * shade + 40 * texture) + noise,
                                int(60 + 120 * fy + 50 * texture) + noise / 2,
                                (shape ? 200 : int(90 + 80 * fx)) + noise};
            for (int c = 0; c < 3; ++c) {
                picture.At(x, y, c) = static_cast<uint8_t>(std::clamp(rgb[c], 0, 255));
            }
        }
    }
    return picture;
}

int MaxDifference(const Picture &a, const Picture &b) {
    if (a.width != b.width || a.height != b.height || a.components != b.components ||
        a.samples.size() != b.samples.size() || a.samples.empty()) {
        return 256;
    }
    int worst = 0;
    for (std::size_t i = 0; i < a.samples.size(); ++i) {
        worst = std::max(worst, std::abs(int{a.samples[i]} - int{b.samples[i]}));
    }
    return worst;
}

Picture WithoutAlpha(const Picture &picture) {
    Picture rgb = Blank(picture.width, picture.height, 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                rgb.At(x, y, c) = picture.At(x, y, c);
            }
        }
    }
    return rgb;
}

} // namespace support
