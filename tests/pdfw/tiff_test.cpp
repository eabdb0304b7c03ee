// TIFF pages: every kind of sample the engine carries comes out of poppler as the pixels
// that went into the file; CCITT data passes through; orientation, pages and damage.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <tiffio.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

// A picture where each pixel's colour is given by a function of its position.
template <typename Colour> Picture picture(int width, int height, Colour colour) {
    Picture image = Blank(width, height, 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            auto [r, g, b] = colour(x, y);
            image.At(x, y, 0) = static_cast<unsigned char>(r);
            image.At(x, y, 1) = static_cast<unsigned char>(g);
            image.At(x, y, 2) = static_cast<unsigned char>(b);
        }
    }
    return image;
}

// A 16 x 8 grey page, 8 bits, uncompressed; the tests change what they need.
TiffPage greyPage(uint32_t width = 16, uint32_t height = 8) {
    TiffPage spec;
    spec.width = width;
    spec.height = height;
    return spec;
}

// 1-bit rows (first pixel in the high bit) where `black(x, y)` pixels are set.
template <typename Black> Bytes bilevelRows(int width, int height, Black black) {
    int rowBytes = (width + 7) / 8;
    Bytes rows(static_cast<std::size_t>(rowBytes) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (black(x, y)) {
                rows[y * rowBytes + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    return rows;
}

bool checker(int x, int y) {
    return ((x / 5) + (y / 4)) % 2 == 1;
}

// The first page as libtiff's own RGBA reader decodes it.
Picture libtiffReading(const std::string &path) {
    return WithoutAlpha(ReadTiffRgba(path));
}

class TiffTest : public ::testing::Test {
protected:
    // Writes the TIFF, puts it on a page of its own upright size and renders it.
    Picture roundTrip(TiffPage spec, const Bytes &rows, const char *compatibility = "1.4") {
        std::string tif = dir / "in.tif";
        spec.data = rows;
        WriteTiff(tif, {spec});
        bool turned = spec.orientation >= 5;
        float width = static_cast<float>(turned ? spec.height : spec.width);
        float height = static_cast<float>(turned ? spec.width : spec.height);
        pdf = dir / "out.pdf";
        Engine engine;
        if (!engine.writeDocument(pdf, {{tif, width, height}}, compatibility)) {
            ADD_FAILURE() << engine.lastMessage();
            return Picture{};
        }
        EXPECT_TRUE(QpdfCheck(pdf));
        return RenderPage(pdf);
    }
    std::string pdfText() { return ReadText(pdf); }

    TempDir dir;
    std::string pdf;
};

TEST_F(TiffTest, RgbInStripsAndTilesIsExact) {
    Bytes rows = Pattern(40, 20, 3).samples;
    Picture expected = picture(40, 20, [&](int x, int y) {
        const unsigned char *p = &rows[(y * 40 + x) * 3];
        return std::tuple{p[0], p[1], p[2]};
    });
    TiffPage spec = greyPage();
    spec.width = 40;
    spec.height = 20;
    spec.samplesPerPixel = 3;
    spec.photometric = PHOTOMETRIC_RGB;
    spec.compression = COMPRESSION_LZW;
    spec.rowsPerStrip = 3;
    EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0);
    EXPECT_NE(pdfText().find("/ColorSpace/DeviceRGB/BitsPerComponent 8/Filter/FlateDecode"),
              std::string::npos);

    spec.tileWidth = spec.tileLength = 16;
    spec.compression = COMPRESSION_ADOBE_DEFLATE;
    EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0);
}

TEST_F(TiffTest, GreyAtEveryDepthIsExact) {
    for (int bits : {1, 2, 4, 8}) {
        for (int photometric : {PHOTOMETRIC_MINISBLACK, PHOTOMETRIC_MINISWHITE}) {
            int levels = (1 << bits) - 1;
            auto level = [&](int x, int y) { return (x + 3 * y) % (levels + 1); };
            int rowBytes = (24 * bits + 7) / 8;
            Bytes rows(static_cast<std::size_t>(rowBytes) * 10, 0);
            for (int y = 0; y < 10; ++y) {
                for (int x = 0; x < 24; ++x) {
                    int bit = x * bits;
                    rows[y * rowBytes + bit / 8] |=
                        static_cast<unsigned char>(level(x, y) << (8 - bits - bit % 8));
                }
            }
            Picture expected = picture(24, 10, [&](int x, int y) {
                int v = level(x, y) * 255 / levels;
                if (photometric == PHOTOMETRIC_MINISWHITE) {
                    v = 255 - v;
                }
                return std::tuple{v, v, v};
            });
            TiffPage spec = greyPage();
            spec.width = 24;
            spec.height = 10;
            spec.bitsPerSample = bits;
            spec.photometric = photometric;
            spec.compression = COMPRESSION_PACKBITS;
            EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0)
                << bits << " bits, photometric " << photometric;
        }
    }
}

TEST_F(TiffTest, SixteenBitGreyIsRoundedBelowPdf15AndKeptFromIt) {
    std::vector<std::uint16_t> samples;
    for (int i = 0; i < 16 * 8; ++i) {
        samples.push_back(static_cast<std::uint16_t>(i * 509 + 128));
    }
    Bytes rows(samples.size() * 2);
    std::memcpy(rows.data(), samples.data(), rows.size());
    Picture expected = picture(16, 8, [&](int x, int y) {
        int v = static_cast<int>(std::lround(samples[y * 16 + x] / 257.0));
        return std::tuple{v, v, v};
    });
    TiffPage spec = greyPage();
    spec.bitsPerSample = 16;
    EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0);
    EXPECT_NE(pdfText().find("/BitsPerComponent 8"), std::string::npos);

    EXPECT_LE(MaxDifference(roundTrip(spec, rows, "1.5"), expected), 1);
    EXPECT_NE(pdfText().find("/BitsPerComponent 16"), std::string::npos);
}

// Rows of `bits`-bit samples, first sample in the high bits, each row padded to a byte.
Bytes packSamples(const std::vector<int> &values, int perRow, int bits) {
    Bytes rows;
    for (std::size_t start = 0; start < values.size(); start += perRow) {
        std::uint32_t acc = 0;
        int held = 0;
        for (int i = 0; i < perRow; ++i) {
            acc = acc << bits | static_cast<std::uint32_t>(values[start + i]);
            held += bits;
            while (held >= 8) {
                rows.push_back(static_cast<unsigned char>(acc >> (held - 8)));
                held -= 8;
            }
        }
        if (held > 0) {
            rows.push_back(static_cast<unsigned char>(acc << (8 - held)));
        }
    }
    return rows;
}

TEST_F(TiffTest, DepthsPdfLacksAreWidened) {
    for (auto [bits, samples] : {std::pair{12, 1}, std::pair{6, 3}, std::pair{10, 3}}) {
        int top = (1 << bits) - 1;
        std::vector<int> values;
        for (int i = 0; i < 16 * 8 * samples; ++i) {
            values.push_back(i * 37 % (top + 1));
        }
        Picture expected = picture(16, 8, [&](int x, int y) {
            auto at = [&](int c) {
                int v = values[(y * 16 + x) * samples + (samples == 1 ? 0 : c)];
                return static_cast<int>(std::lround(v * 255.0 / top));
            };
            return std::tuple{at(0), at(1), at(2)};
        });
        TiffPage spec = greyPage();
        spec.bitsPerSample = bits;
        spec.samplesPerPixel = samples;
        spec.photometric = samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB;
        Bytes rows = packSamples(values, 16 * samples, bits);
        EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0) << bits << " bits";
        EXPECT_NE(pdfText().find("/BitsPerComponent 8"), std::string::npos);
        EXPECT_LE(MaxDifference(roundTrip(spec, rows, "1.5"), expected), 1) << bits << " bits";
        EXPECT_NE(pdfText().find("/BitsPerComponent 16"), std::string::npos);
    }
}

TEST_F(TiffTest, PaletteBecomesAnIndexedColourSpace) {
    std::vector<std::uint16_t> map(3 * 16);
    for (int i = 0; i < 16; ++i) {
        map[i] = static_cast<std::uint16_t>(i * 17 * 257);             // red
        map[16 + i] = static_cast<std::uint16_t>((15 - i) * 17 * 257); // green
        map[32 + i] = static_cast<std::uint16_t>((i % 4) * 85 * 257);  // blue
    }
    Bytes rows(8 * 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 16; x += 2) {
            rows[y * 8 + x / 2] =
                static_cast<unsigned char>(((x + y) % 16) << 4 | ((x + y + 1) % 16));
        }
    }
    Picture expected = picture(16, 6, [&](int x, int y) {
        int i = (x + y) % 16;
        return std::tuple{i * 17, (15 - i) * 17, (i % 4) * 85};
    });
    TiffPage spec = greyPage();
    spec.height = 6;
    spec.bitsPerSample = 4;
    spec.photometric = PHOTOMETRIC_PALETTE;
    spec.colorMap = map;
    EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0);
    EXPECT_NE(pdfText().find("/ColorSpace[/Indexed/DeviceRGB 15<"), std::string::npos);
}

// Rows that lead the predictor choice to each filter: noise, a copy of the row above, a run
// that steps by a constant from pixel to pixel, and a smooth field. `samples` per pixel of
// `bytes` bytes each, the first byte most significant.
Bytes predictorRows(int width, int height, int samples, int bytes) {
    Bytes rows;
    std::uint32_t noise = 12345;
    std::size_t rowBytes = static_cast<std::size_t>(width) * samples * bytes;
    for (int y = 0; y < height; ++y) {
        if (y % 4 == 1) {
            Bytes above(rows.end() - static_cast<std::ptrdiff_t>(rowBytes), rows.end());
            rows.insert(rows.end(), above.begin(), above.end());
            continue;
        }
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < samples * bytes; ++c) {
                noise = noise * 1103515245u + 12345u;
                int v = y % 4 == 0   ? static_cast<int>(noise >> 24)
                        : y % 4 == 2 ? 7 * x + 50 * c + y
                                     : (x * x / 3 + y * 11 + c * 29);
                rows.push_back(static_cast<unsigned char>(v));
            }
        }
    }
    return rows;
}

// The stream of the first object whose dictionary holds `marker`, as qpdf decodes it (Flate
// and predictor undone): an independent check that the samples come back bit for bit.
Bytes decodedStream(const std::string &pdf, const std::string &marker) {
    std::string file = ReadText(pdf);
    std::size_t at = file.find(marker);
    std::size_t start = file.rfind(" 0 obj\n", at);
    if (at == std::string::npos || start == std::string::npos) {
        ADD_FAILURE() << "no object with " << marker;
        return {};
    }
    std::size_t digits = file.find_last_not_of("0123456789", start - 1) + 1;
    std::string object = file.substr(digits, start - digits);
    const std::string data =
        RunProgram({"qpdf", "--show-object=" + object, "--filtered-stream-data", pdf}).out;
    return Bytes(data.begin(), data.end());
}

// 16-bit samples as the TIFF holds them (native order) from big-endian pairs.
Bytes nativeFromBigEndian(const Bytes &big) {
    Bytes native(big.size());
    for (std::size_t i = 0; i + 1 < big.size(); i += 2) {
        std::uint16_t v = static_cast<std::uint16_t>(big[i] << 8 | big[i + 1]);
        std::memcpy(&native[i], &v, 2);
    }
    return native;
}

TEST_F(TiffTest, PredictedSamplesComeBackExactly) {
    const int width = 37;
    const int height = 23;
    Bytes rgb = predictorRows(width, height, 3, 1);
    Picture expected = picture(width, height, [&](int x, int y) {
        const unsigned char *p = &rgb[(y * width + x) * 3];
        return std::tuple{p[0], p[1], p[2]};
    });
    TiffPage spec = greyPage();
    spec.width = width;
    spec.height = height;
    spec.samplesPerPixel = 3;
    spec.photometric = PHOTOMETRIC_RGB;
    spec.rowsPerStrip = 5;
    EXPECT_EQ(MaxDifference(roundTrip(spec, rgb), expected), 0);
    EXPECT_NE(pdfText().find("/DecodeParms<</Predictor 15/Colors 3/BitsPerComponent 8/Columns "
                             "37>>"),
              std::string::npos);
    EXPECT_EQ(decodedStream(pdf, "/DeviceRGB"), rgb);

    // 16-bit grey and RGB: poppler shows only 8 bits, so the samples are compared as qpdf
    // decodes them.
    for (int samples : {1, 3}) {
        Bytes big = predictorRows(width, height, samples, 2);
        spec.bitsPerSample = 16;
        spec.samplesPerPixel = samples;
        spec.photometric = samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB;
        roundTrip(spec, nativeFromBigEndian(big), "1.5");
        EXPECT_NE(pdfText().find("/Predictor 15/Colors " + std::to_string(samples) +
                                 "/BitsPerComponent 16/Columns 37>>"),
                  std::string::npos);
        EXPECT_EQ(decodedStream(pdf, samples == 1 ? "/DeviceGray" : "/DeviceRGB"), big)
            << samples << " samples";
    }

    // Grey with alpha: the soft mask is predicted too.
    Bytes greyAlpha = predictorRows(width, height, 2, 1);
    spec.bitsPerSample = 8;
    spec.samplesPerPixel = 2;
    spec.photometric = PHOTOMETRIC_MINISBLACK;
    spec.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    roundTrip(spec, greyAlpha);
    Bytes grey, alpha;
    for (std::size_t i = 0; i < greyAlpha.size(); i += 2) {
        grey.push_back(greyAlpha[i]);
        alpha.push_back(greyAlpha[i + 1]);
    }
    EXPECT_EQ(decodedStream(pdf, "/SMask "), grey);
    EXPECT_EQ(decodedStream(pdf, "/ColorSpace/DeviceGray/BitsPerComponent 8/Filter/FlateDecode"
                                 "/DecodeParms<</Predictor 15/Colors 1"),
              alpha);
}

TEST_F(TiffTest, AlphaBecomesASoftMask) {
    Bytes rows;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            rows.insert(rows.end(), {200, 40, static_cast<unsigned char>(x * 16),
                                     static_cast<unsigned char>(x < 8 ? 255 : y * 32)});
        }
    }
    // Drawn over the white page.
    Picture expected = picture(16, 8, [&](int x, int y) {
        const unsigned char *p = &rows[(y * 16 + x) * 4];
        auto over = [&](int c) {
            return static_cast<int>(std::lround((c * p[3] + 255 * (255 - p[3])) / 255.0));
        };
        return std::tuple{over(p[0]), over(p[1]), over(p[2])};
    });
    TiffPage spec = greyPage();
    spec.samplesPerPixel = 4;
    spec.photometric = PHOTOMETRIC_RGB;
    spec.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    EXPECT_LE(MaxDifference(roundTrip(spec, rows), expected), 2);
    EXPECT_NE(pdfText().find("/SMask "), std::string::npos);

    Engine old;
    EXPECT_FALSE(old.writeDocument(dir / "13.pdf", {{dir / "in.tif", 16, 8}}, "1.3"));
    EXPECT_EQ(old.firstType(), PDFW_TYPE_ERROR);
    EXPECT_NE(old.firstMessage().find("alpha"), std::string::npos);
}

TEST_F(TiffTest, CmykAndJpegCompressedYcbcrAreCarried) {
    Bytes cmyk;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            cmyk.insert(cmyk.end(), {static_cast<unsigned char>(x < 8 ? 255 : 0), 0, 0,
                                     static_cast<unsigned char>(x < 8 ? 0 : 255)});
        }
    }
    TiffPage spec = greyPage();
    spec.samplesPerPixel = 4;
    spec.photometric = PHOTOMETRIC_SEPARATED;
    Picture page = roundTrip(spec, cmyk);
    EXPECT_NE(pdfText().find("/DeviceCMYK"), std::string::npos);
    ASSERT_EQ(page.width, 16);
    EXPECT_LT(page.At(2, 2, 0), 70);  // cyan: no red
    EXPECT_GT(page.At(2, 2, 2), 120); // but blue
    EXPECT_LT(page.At(12, 2, 2), 70); // black

    // JPEG in TIFF, compared with libtiff's own RGBA reading. The coded data goes in as it
    // is: one strip with its tables put back, several strips joined into one JPEG with a
    // restart marker where each strip began (a last strip shorter than the others included).
    struct JpegCase {
        int photometric;
        int samples;
        int height;
        int rowsPerStrip;
    };
    for (JpegCase c :
         {JpegCase{PHOTOMETRIC_YCBCR, 3, 32, 0}, JpegCase{PHOTOMETRIC_YCBCR, 3, 32, 16},
          JpegCase{PHOTOMETRIC_YCBCR, 3, 40, 16}, JpegCase{PHOTOMETRIC_RGB, 3, 32, 0},
          JpegCase{PHOTOMETRIC_RGB, 3, 40, 8}, JpegCase{PHOTOMETRIC_MINISBLACK, 1, 72, 16}}) {
        TiffPage jpeg = greyPage();
        jpeg.width = 36;
        jpeg.height = c.height;
        jpeg.samplesPerPixel = c.samples;
        jpeg.photometric = c.photometric;
        jpeg.compression = COMPRESSION_JPEG;
        jpeg.rowsPerStrip = c.rowsPerStrip;
        Picture rendered = roundTrip(jpeg, Pattern(36, c.height, c.samples, 2).samples);
        const std::string which = "photometric " + std::to_string(c.photometric) + ", height " +
                                  std::to_string(c.height) + ", rows per strip " +
                                  std::to_string(c.rowsPerStrip);
        EXPECT_NE(pdfText().find("/DCTDecode"), std::string::npos) << which;
        Picture expected = libtiffReading(dir / "in.tif");
        // libtiff decodes strip by strip; a viewer of the joined JPEG smooths subsampled
        // colour across the seam instead, so the two rows at each seam may differ in colour.
        int inside = 0, seams = 0;
        for (int y = 0; y < c.height; ++y) {
            bool seam = c.rowsPerStrip > 0 && y > 0 &&
                        (y % c.rowsPerStrip == 0 || (y + 1) % c.rowsPerStrip == 0);
            for (int x = 0; x < 36; ++x) {
                for (int k = 0; k < 3; ++k) {
                    int &worst = seam ? seams : inside;
                    worst = std::max(worst, std::abs(rendered.At(x, y, k) - expected.At(x, y, k)));
                }
            }
        }
        EXPECT_LE(inside, 3) << which;
        EXPECT_LE(seams, c.photometric == PHOTOMETRIC_YCBCR ? 48 : 3) << which;
    }
}

TEST_F(TiffTest, JpegStripsThatCannotBeJoinedAreDecoded) {
    // Each strip carries its own Huffman tables, fitted by libtiff to that strip: one scan
    // cannot use both, so the page is decoded like any other compressed TIFF.
    TiffPage spec = greyPage();
    spec.width = 24;
    spec.height = 32;
    spec.samplesPerPixel = 3;
    spec.photometric = PHOTOMETRIC_RGB;
    spec.compression = COMPRESSION_JPEG;
    spec.rowsPerStrip = 16;
    spec.jpegTablesInStrips = true;
    Picture rendered = roundTrip(spec, Pattern(24, 32, 3, 5).samples);
    EXPECT_EQ(pdfText().find("/DCTDecode"), std::string::npos);
    EXPECT_NE(pdfText().find("/FlateDecode"), std::string::npos);
    EXPECT_LE(MaxDifference(rendered, libtiffReading(dir / "in.tif")), 1);
}

TEST_F(TiffTest, SingleStripCcittPassesThroughUnchanged) {
    Bytes rows = bilevelRows(40, 20, checker);
    Picture expected = picture(40, 20, [](int x, int y) {
        int v = checker(x, y) ? 0 : 255;
        return std::tuple{v, v, v};
    });
    struct Case {
        int compression;
        int options;
        int fillOrder;
        const char *k;
    };
    for (Case c : {Case{COMPRESSION_CCITTFAX4, 0, FILLORDER_MSB2LSB, "/K -1"},
                   Case{COMPRESSION_CCITTFAX4, 0, FILLORDER_LSB2MSB, "/K -1"},
                   Case{COMPRESSION_CCITTFAX3, 0, FILLORDER_MSB2LSB, "/K 0"},
                   Case{COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING | GROUP3OPT_FILLBITS,
                        FILLORDER_MSB2LSB, "/K 1"}}) {
        TiffPage spec = greyPage();
        spec.width = 40;
        spec.height = 20;
        spec.bitsPerSample = 1;
        spec.photometric = PHOTOMETRIC_MINISWHITE;
        spec.compression = c.compression;
        spec.group3Options = c.options;
        spec.fillOrder = c.fillOrder;
        EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0) << c.k << " " << c.fillOrder;
        EXPECT_NE(pdfText().find("/Filter/CCITTFaxDecode/DecodeParms<<" + std::string(c.k) +
                                 "/Columns 40/Rows 20>>"),
                  std::string::npos)
            << c.k;
    }

    // Where 0 is black, the coded runs are the other way round.
    Bytes inverted = rows;
    for (auto &b : inverted) {
        b = static_cast<unsigned char>(~b);
    }
    TiffPage spec = greyPage();
    spec.width = 40;
    spec.height = 20;
    spec.bitsPerSample = 1;
    spec.photometric = PHOTOMETRIC_MINISBLACK;
    spec.compression = COMPRESSION_CCITTFAX4;
    EXPECT_EQ(MaxDifference(roundTrip(spec, inverted), expected), 0);
    EXPECT_NE(pdfText().find("/BlackIs1 true"), std::string::npos);
}

TEST_F(TiffTest, CcittInSeveralStripsIsDecoded) {
    Bytes rows = bilevelRows(40, 20, checker);
    Picture expected = picture(40, 20, [](int x, int y) {
        int v = checker(x, y) ? 0 : 255;
        return std::tuple{v, v, v};
    });
    TiffPage spec = greyPage();
    spec.width = 40;
    spec.height = 20;
    spec.bitsPerSample = 1;
    spec.photometric = PHOTOMETRIC_MINISWHITE;
    spec.compression = COMPRESSION_CCITTFAX4;
    spec.rowsPerStrip = 7;
    EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0);
    EXPECT_EQ(pdfText().find("CCITTFaxDecode"), std::string::npos);
}

TEST_F(TiffTest, EveryOrientationIsShownUpright) {
    const int w = 12, h = 6;
    Bytes rows = Pattern(w, h, 3, 3).samples;
    auto stored = [&](int x, int y) {
        const unsigned char *p = &rows[(y * w + x) * 3];
        return std::tuple{p[0], p[1], p[2]};
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        bool turned = orientation >= 5;
        Picture expected = picture(turned ? h : w, turned ? w : h, [&](int X, int Y) {
            switch (orientation) {
            case 2:
                return stored(w - 1 - X, Y);
            case 3:
                return stored(w - 1 - X, h - 1 - Y);
            case 4:
                return stored(X, h - 1 - Y);
            case 5:
                return stored(Y, X);
            case 6:
                return stored(Y, h - 1 - X);
            case 7:
                return stored(w - 1 - Y, h - 1 - X);
            case 8:
                return stored(w - 1 - Y, X);
            default:
                return stored(X, Y);
            }
        });
        TiffPage spec = greyPage();
        spec.width = w;
        spec.height = h;
        spec.samplesPerPixel = 3;
        spec.photometric = PHOTOMETRIC_RGB;
        spec.orientation = orientation;
        EXPECT_EQ(MaxDifference(roundTrip(spec, rows), expected), 0) << orientation;
    }
}

TEST_F(TiffTest, PagesAreChosenByNumber) {
    const TiffPage grey = TiffPageOf(Pattern(16, 8, 1));
    std::string tif = dir / "two.tif";
    WriteTiff(tif, {grey, grey});
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "p.pdf").c_str()), 1);
    EXPECT_GE(pdfw_load_image(engine.ctx(), "tiff", tif.c_str(), "", 2), 1);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", tif.c_str(), "", 3), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_NE(engine.lastMessage().find("no page 3"), std::string::npos);
}

TEST_F(TiffTest, DamagedOrOversizedFilesAreRefused) {
    std::string tif = dir / "whole.tif";
    WriteTiff(tif, {TiffPageOf(Pattern(64, 64, 1))});
    Bytes whole = ReadFile(tif);

    auto loadError = [&](const Bytes &bytes, std::string &message) {
        std::string file = dir / "bad.tif";
        WriteFile(file, bytes);
        Engine engine;
        pdfw_open_file(engine.ctx(), (dir / "bad.pdf").c_str());
        int handle = pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 1);
        message = engine.lastMessage();
        return handle >= 1 ? 0 : engine.lastType();
    };
    std::string message;
    EXPECT_EQ(loadError(Bytes(whole.begin(), whole.begin() + 8), message), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("bad.tif"), std::string::npos);

    // Pixel data cut short: the directory sits at the end, so keep it and drop the samples
    // of the last strip by pointing it past the end of the file.
    auto lastStripPastTheEnd = [](Bytes file) {
        std::uint32_t at;
        std::memcpy(&at, &file[4], 4);
        std::uint16_t count;
        std::memcpy(&count, &file[at], 2);
        for (int i = 0; i < count; ++i) {
            std::uint8_t *entry = &file[at + 2 + 12 * i];
            std::uint16_t tag;
            std::uint32_t strips, offsets;
            std::memcpy(&tag, entry, 2);
            std::memcpy(&strips, entry + 4, 4);
            std::memcpy(&offsets, entry + 8, 4);
            if (tag == TIFFTAG_STRIPOFFSETS) { // LONG offsets: in the entry when only one
                std::uint8_t *last = strips == 1 ? entry + 8 : &file[offsets + 4 * (strips - 1)];
                std::uint32_t past = static_cast<std::uint32_t>(file.size() + 100);
                std::memcpy(last, &past, 4);
            }
        }
        return file;
    };
    EXPECT_EQ(loadError(lastStripPastTheEnd(whole), message), PDFW_SYNTAX_ERROR);
    // The same through libtiff's RGBA reader (CIE L*a*b* takes it), which carried on past a
    // strip it could not read and handed back a partly blank picture as if all were well.
    TiffPage lab = greyPage();
    lab.samplesPerPixel = 3;
    lab.photometric = PHOTOMETRIC_CIELAB;
    lab.rowsPerStrip = 2;
    lab.data = Pattern(16, 8, 3).samples;
    WriteTiff(tif, {lab});
    EXPECT_EQ(loadError(ReadFile(tif), message), 0) << message;
    EXPECT_EQ(loadError(lastStripPastTheEnd(ReadFile(tif)), message), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("bad.tif"), std::string::npos);

    std::uint32_t ifd;
    std::memcpy(&ifd, &whole[4], 4);
    std::uint16_t entries;
    std::memcpy(&entries, &whole[ifd], 2);

    // 60000 x 60000 RGB claims 10 GB: refused before anything is allocated.
    Bytes huge = whole;
    for (int i = 0; i < entries; ++i) {
        std::uint8_t *entry = &huge[ifd + 2 + 12 * i];
        std::uint16_t tag, type;
        std::memcpy(&tag, entry, 2);
        std::memcpy(&type, entry + 2, 2);
        if (tag == TIFFTAG_IMAGEWIDTH || tag == TIFFTAG_IMAGELENGTH ||
            tag == TIFFTAG_ROWSPERSTRIP) {
            if (type == TIFF_SHORT) {
                std::uint16_t v = 60000;
                std::memcpy(entry + 8, &v, 2);
            } else {
                std::uint32_t v = 60000;
                std::memcpy(entry + 8, &v, 4);
            }
        }
    }
    EXPECT_EQ(loadError(huge, message), PDFW_OVERFLOW_ERROR);
    EXPECT_NE(message.find("too large"), std::string::npos);
}

} // namespace
