// Writes the fuzz seed corpora: small valid files of each kind the decoders and the engine read,
// in the variants they branch on, and JPEGs damaged the ways phones and editors damage them.
//
//     make_fuzz_seeds OUTDIR        (the committed seeds live in fuzz/corpus)
//
// Every picture is a small gradient, so each seed stays well under 4 KiB and runs fast.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "tests/support/Bmp.h"
#include "tests/support/Exif.h"
#include "tests/support/Files.h"
#include "tests/support/Ico.h"
#include "tests/support/Jpeg.h"
#include "tests/support/PdfMaker.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

#include <zlib.h>

namespace {

using namespace support;
using Seeds = std::map<std::string, Bytes>;
using PixelValue = std::function<uint32_t(int x, int y)>;

constexpr int W = 8;
constexpr int H = 6;

// ---- BMP and ICO ----------------------------------------------------------------------------

// Stored rows, bottom row first, padded to 4 bytes; `value` is an index (1, 4, 8 bits), a 16-bit
// word, or 0xRRGGBB (24 and 32 bits, alpha 255).
Bytes BmpRows(int width, int height, int bits, const PixelValue &value) {
    if (bits <= 8) {
        std::vector<std::vector<uint8_t>> indices(height, std::vector<uint8_t>(width));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                indices[y][x] = static_cast<uint8_t>(value(x, y));
            }
        }
        return PackIndexRows(indices, bits);
    }
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bits == 16) {
                PutLe16(row, v);
            } else {
                row.insert(row.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
                if (bits == 32) {
                    row.push_back(0xFF);
                }
            }
        }
        row.resize((row.size() + 3) / 4 * 4, 0);
        Append(rows, row);
    }
    return rows;
}

std::vector<uint32_t> GreyPalette(int colours) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i) {
        palette.push_back(0x010101u * static_cast<uint32_t>(i * 255 / (colours - 1)));
    }
    return palette;
}

BmpFile Bmp(int bits, const PixelValue &value, int colours = 0) {
    BmpFile bmp;
    bmp.width = W;
    bmp.height = H;
    bmp.bits = static_cast<uint16_t>(bits);
    bmp.ppmX = bmp.ppmY = 2835;
    if (colours > 0) {
        bmp.palette = GreyPalette(colours);
        bmp.colorsUsed = static_cast<uint32_t>(colours);
    }
    bmp.pixels = BmpRows(W, H, bits, value);
    return bmp;
}

Seeds BmpSeeds() {
    const PixelValue rgb = [](int x, int y) { return uint32_t(x * 30 << 16 | y * 40 << 8 | 200); };
    Seeds seeds = {
        {"rgb24.bmp", MakeBmp(Bmp(24, rgb))},
        {"rgb32.bmp", MakeBmp(Bmp(32, rgb))},
        {"pal8.bmp", MakeBmp(Bmp(
                         8, [](int x, int y) { return uint32_t(x * 16 + y); }, 256))},
        {"pal4.bmp", MakeBmp(Bmp(
                         4, [](int x, int y) { return uint32_t(x + y) % 16; }, 16))},
        {"pal1.bmp", MakeBmp(Bmp(
                         1, [](int x, int y) { return uint32_t(x + y) % 2; }, 2))},
        {"rgb555.bmp",
         MakeBmp(Bmp(16, [](int x, int y) { return uint32_t(x << 10 | y << 5 | 7); }))},
    };
    BmpFile topDown = Bmp(24, rgb);
    topDown.height = -H;
    seeds["topdown24.bmp"] = MakeBmp(topDown);
    BmpFile v5 = Bmp(24, rgb);
    v5.headerSize = 124;
    seeds["v5.bmp"] = MakeBmp(v5);
    BmpFile masks = Bmp(16, [](int x, int y) { return uint32_t(x << 11 | y << 5 | 3); });
    masks.compression = 3;
    masks.masks = {0xF800, 0x07E0, 0x001F};
    seeds["rgb565.bmp"] = MakeBmp(masks);
    BmpFile rle8 = Bmp(
        8, [](int, int) { return 0u; }, 256);
    rle8.compression = 1;
    rle8.pixels = {4, 1, 4, 2, 0, 0, 0, 3, 5, 6, 7, 0, 0, 2, 1, 1, 3, 9, 0, 1};
    rle8.imageSize = static_cast<uint32_t>(rle8.pixels.size());
    seeds["rle8.bmp"] = MakeBmp(rle8);
    BmpFile rle4 = Bmp(
        4, [](int, int) { return 0u; }, 16);
    rle4.compression = 2;
    rle4.pixels = {4, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 2, 2, 1, 6, 0xAB, 0, 1};
    rle4.imageSize = static_cast<uint32_t>(rle4.pixels.size());
    seeds["rle4.bmp"] = MakeBmp(rle4);
    BmpFile core = Bmp(
        8, [](int x, int y) { return uint32_t(x * y); }, 256);
    core.headerSize = 12;
    seeds["os2core.bmp"] = MakeBmp(core);
    BmpFile headerless = Bmp(24, rgb);
    headerless.fileHeader = false;
    seeds["headerless.dib"] = MakeBmp(headerless);
    return seeds;
}

Bytes IconData(int bits, const PixelValue &value) {
    const int colours = bits <= 8 ? 1 << bits : 0;
    return ClassicIcon(
        W, W, static_cast<uint16_t>(bits), colours ? GreyPalette(colours) : std::vector<uint32_t>{},
        BmpRows(W, W, bits, value), BmpRows(W, W, 1, [](int x, int) { return x == 0 ? 1u : 0u; }));
}

Seeds IcoSeeds(const Bytes &png) {
    const PixelValue rgb = [](int x, int y) { return uint32_t(x * 30 << 16 | y * 30 << 8 | 90); };
    const Bytes e24 = IconData(24, rgb);
    return {
        {"ico24.ico", MakeIco({{W, W, e24}})},
        {"ico32.ico", MakeIco({{W, W, IconData(32, rgb)}})},
        {"ico8_4_1.ico",
         MakeIco({{W, W, IconData(8, [](int x, int y) { return uint32_t(x * 8 + y); })},
                  {W, W, IconData(4, [](int x, int y) { return uint32_t(x + y) % 16; })},
                  {W, W, IconData(1, [](int x, int y) { return uint32_t(x ^ y) & 1; })}})},
        {"cursor.cur", MakeIco({{W, W, e24}}, 2)},
        {"png_entry.ico", MakeIco({{W, W, png}, {W, W, e24}})},
    };
}

// ---- PNG ------------------------------------------------------------------------------------

PngImage Png(PngColour colour, int bits) {
    PngImage image;
    image.width = W;
    image.height = H;
    image.colour = colour;
    image.bitDepth = bits;
    image.data.resize(image.RowBytes() * H);
    for (std::size_t i = 0; i < image.data.size(); ++i) {
        image.data[i] = static_cast<uint8_t>(i * 37 + i / image.RowBytes() * 11);
    }
    return image;
}

Seeds PngSeeds() {
    PngImage text = Png(PngColour::Grey, 8);
    Bytes compressed(128);
    uLongf length = compressed.size();
    const Bytes xs(64, 'x');
    compress(compressed.data(), &length, xs.data(), xs.size());
    compressed.resize(length);
    Bytes title = {'T', 'i', 't', 'l', 'e', 0, 0};
    Append(title, compressed);
    Bytes physical;
    PutBe32(physical, 11811); // 300 dots per inch
    PutBe32(physical, 11811);
    physical.push_back(1);
    text.chunks = {{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 's', 'e', 'e', 'd'}},
                   {"zTXt", title},
                   {"pHYs", physical}};
    PngImage keyed = Png(PngColour::Rgb, 16);
    keyed.transparency = {0, 0, 0x47, 0x47, 0x8E, 0x8E};
    PngImage interlaced = Png(PngColour::Rgba, 8);
    interlaced.interlaced = true;
    PngImage palette = Png(PngColour::Palette, 4);
    for (uint32_t i = 0; i < 16; ++i) {
        palette.palette.push_back(i * 16 << 16 | (255 - i * 16) << 8 | i * 8);
        palette.transparency.push_back(static_cast<uint8_t>(255 - i * 15));
    }
    return {
        {"grey1.png", MakePng(Png(PngColour::Grey, 1))},
        {"grey8_text.png", MakePng(text)},
        {"grey16.png", MakePng(Png(PngColour::Grey, 16))},
        {"grey_alpha.png", MakePng(Png(PngColour::GreyAlpha, 8))},
        {"rgb8.png", MakePng(Png(PngColour::Rgb, 8))},
        {"rgb16_trns.png", MakePng(keyed)},
        {"rgba8.png", MakePng(Png(PngColour::Rgba, 8))},
        {"rgba8_interlaced.png", MakePng(interlaced)},
        {"palette4_trns.png", MakePng(palette)},
    };
}

// ---- TIFF -----------------------------------------------------------------------------------

TiffPage Tiff(const Picture &picture, uint16_t photometric) {
    TiffPage page = TiffPageOf(picture);
    page.photometric = photometric;
    page.extraSamples.clear();
    page.orientation = ORIENTATION_TOPLEFT;
    page.resolutionUnit = RESUNIT_INCH;
    page.xResolution = page.yResolution = 72.0f;
    return page;
}

Seeds TiffSeeds(const TempDir &dir) {
    std::map<std::string, std::pair<std::vector<TiffPage>, const char *>> files;
    const TiffPage rgb = Tiff(Pattern(W, H, 3), PHOTOMETRIC_RGB);
    TiffPage deflate = rgb;
    deflate.compression = COMPRESSION_ADOBE_DEFLATE;
    TiffPage grey16 = Tiff(Pattern(W * 2, H, 1), PHOTOMETRIC_MINISBLACK);
    grey16.width = W;
    grey16.bitsPerSample = 16;
    TiffPage bilevel = Tiff(Pattern(1, H, 1), PHOTOMETRIC_MINISWHITE);
    bilevel.width = W;
    bilevel.bitsPerSample = 1;
    TiffPage palette = Tiff(Pattern(W, H, 1), PHOTOMETRIC_PALETTE);
    for (int plane = 0; plane < 3; ++plane) {
        for (int i = 0; i < 256; ++i) {
            palette.colorMap.push_back(static_cast<uint16_t>(i * 257));
        }
    }
    TiffPage rgba = Tiff(Pattern(W, H, 4), PHOTOMETRIC_RGB);
    rgba.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    TiffPage tiled = Tiff(Pattern(16, 16, 1), PHOTOMETRIC_MINISBLACK);
    tiled.tileWidth = tiled.tileLength = 16;
    // JPEG in strips of 16 and 8 rows (joined into one JPEG by the engine), CCITT in one strip.
    TiffPage jpeg = Tiff(Pattern(16, 40, 3), PHOTOMETRIC_YCBCR);
    jpeg.compression = COMPRESSION_JPEG;
    jpeg.rowsPerStrip = 16;
    TiffPage jpegRgb = Tiff(Pattern(16, 40, 3), PHOTOMETRIC_RGB);
    jpegRgb.compression = COMPRESSION_JPEG;
    jpegRgb.rowsPerStrip = 8;
    TiffPage fax = Tiff(Pattern(2, 40, 1), PHOTOMETRIC_MINISWHITE);
    fax.width = 16;
    fax.bitsPerSample = 1;
    TiffPage g4 = fax;
    g4.compression = COMPRESSION_CCITTFAX4;
    TiffPage g3 = fax;
    g3.compression = COMPRESSION_CCITTFAX3;
    g3.group3Options = GROUP3OPT_2DENCODING;
    files = {
        {"rgb.tif", {{rgb}, "w"}},
        {"rgb_deflate_be.tif", {{deflate}, "wb"}},
        {"grey8.tif", {{Tiff(Pattern(W, H, 1), PHOTOMETRIC_MINISBLACK)}, "w"}},
        {"grey16.tif", {{grey16}, "w"}},
        {"bilevel_miniswhite.tif", {{bilevel}, "w"}},
        {"palette8.tif", {{palette}, "w"}},
        {"rgba.tif", {{rgba}, "w"}},
        {"cmyk.tif", {{Tiff(Pattern(W, H, 4), PHOTOMETRIC_SEPARATED)}, "w"}},
        {"tiled_grey.tif", {{tiled}, "w"}},
        {"jpeg_strips.tif", {{jpeg}, "w"}},
        {"jpeg_strips_rgb.tif", {{jpegRgb}, "w"}},
        {"g4.tif", {{g4}, "w"}},
        {"g3_2d.tif", {{g3}, "w"}},
    };
    Seeds seeds;
    for (const auto &[name, file] : files) {
        WriteTiff(dir / name, file.first, file.second);
        seeds[name] = ReadFile(dir / name);
    }
    // Three pages, the second's one strip only 50 of its 200 bytes long: never read from the
    // third page's bytes.
    const TiffPage page = Tiff(Pattern(20, 10, 1), PHOTOMETRIC_MINISBLACK);
    TiffPage shortPage = page;
    shortPage.coded = true;
    shortPage.data.resize(50);
    WriteTiff(dir / "short_strip_count.tif", {page, shortPage, page});
    seeds["short_strip_count_page2.tif"] = ReadFile(dir / "short_strip_count.tif");
    seeds["empty_directory.tif"] = EmptyDirectoryTiff();
    return seeds;
}

// ---- Fax data for the fax check ------------------------------------------------------------

// libtiff's coding of a bilevel page of marks, behind the four layout bytes the fax check's
// fuzz target reads: K + 1, the width less one (two bytes, high first), the rows less one.
Seeds FaxSeeds(const TempDir &dir) {
    struct Coding {
        const char *name;
        uint16_t compression;
        uint32_t options;
        int k;
    } codings[] = {{"g4", COMPRESSION_CCITTFAX4, 0, -1},
                   {"g3_1d", COMPRESSION_CCITTFAX3, 0, 0},
                   {"g3_2d", COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 1}};
    Seeds seeds;
    for (uint32_t width : {16u, 200u, 1800u}) {
        const uint32_t height = 6;
        TiffPage page;
        page.width = width;
        page.height = height;
        page.bitsPerSample = 1;
        page.photometric = PHOTOMETRIC_MINISWHITE;
        page.data.assign(page.RowBytes() * height, 0);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                if ((x / (y + 1)) % 5 < 2 || (y == 3 && x > 10)) {
                    page.data[y * page.RowBytes() + x / 8] |= uint8_t(0x80 >> (x % 8));
                }
            }
        }
        for (const Coding &c : codings) {
            page.compression = c.compression;
            page.group3Options = c.options;
            const std::string path = dir / "fax.tif";
            WriteTiff(path, {page});
            const Bytes strip = ReadRawStrip(path);
            Bytes seed = {uint8_t(c.k + 1), uint8_t((width - 1) >> 8), uint8_t(width - 1),
                          uint8_t(height - 1)};
            seed.insert(seed.end(), strip.begin(), strip.end());
            seeds[std::string(c.name) + "_" + std::to_string(width) + ".fax"] = seed;
        }
    }
    return seeds;
}

// ---- JPEG -----------------------------------------------------------------------------------

Bytes ExifSegment(uint16_t orientation, bool bigEndian) {
    ExifBlockBuilder exif(bigEndian);
    const int ifd0 = exif.AddDirectory();
    exif.Ascii(ifd0, 0x010F, "Maker");
    exif.Short(ifd0, 0x0112, orientation);
    exif.Rational(ifd0, 0x011A, 300, 1);
    exif.Short(ifd0, 0x0128, 2);
    return exif.Payload();
}

Seeds JpegSeeds() {
    const Picture picture = Pattern(16, 12, 3);
    const auto jpeg = [&picture](const std::function<void(JpegOptions &)> &set) {
        JpegOptions options;
        options.quality = 75;
        set(options);
        return MakeJpeg(picture, options);
    };
    return {
        {"baseline.jpg", jpeg([](JpegOptions &) {})},
        {"progressive.jpg", jpeg([](JpegOptions &o) { o.progressive = true; })},
        {"grey.jpg", MakeJpeg(Pattern(16, 12, 1))},
        {"restart.jpg", jpeg([](JpegOptions &o) { o.restartRows = 1; })},
        {"subsample_444.jpg", jpeg([](JpegOptions &o) { o.hSampling = o.vSampling = 1; })},
        {"arithmetic.jpg", jpeg([](JpegOptions &o) { o.arithmetic = true; })},
        {"exif_orientation6.jpg", jpeg([](JpegOptions &o) {
             o.markers = {{JPEG_APP0 + 1, ExifSegment(6, false)}};
         })},
        {"exif_motorola.jpg", jpeg([](JpegOptions &o) {
             o.markers = {{JPEG_APP0 + 1, ExifSegment(3, true)}};
         })},
        {"comment.jpg", jpeg([](JpegOptions &o) {
             o.markers = {{JPEG_COM, {'a', ' ', 'c', 'o', 'm', 'm', 'e', 'n', 't'}}};
         })},
    };
}

Seeds DamagedJpegSeeds(const Seeds &jpeg) {
    Bytes noEnd = jpeg.at("baseline.jpg");
    noEnd.resize(noEnd.size() - 2);
    return {
        {"junk_before_dqt.jpg", InsertBefore(jpeg.at("baseline.jpg"), 0xDB, {'j', 'u', 'n', 'k'})},
        {"stray_ff00_header.jpg", InsertBefore(jpeg.at("baseline.jpg"), 0xC4, {0xFF, 0, 0xFF, 0})},
        {"no_end_marker.jpg", noEnd},
        {"progressive_junk.jpg", InsertBefore(jpeg.at("progressive.jpg"), 0xDA, {0, 1})},
        {"arithmetic_junk.jpg", InsertBefore(jpeg.at("arithmetic.jpg"), 0xDB, {7})},
        {"exif6_junk.jpg", InsertBefore(jpeg.at("exif_orientation6.jpg"), 0xDB, {0, 0, 0})},
    };
}

// Headers that do not match their data: sides beyond what decoders read, a frame larger than
// the scan, restart markers too few for the frame, flipped bits in the scan, a segment length
// damaged in a file of full length.
Seeds MismatchedJpegSeeds(const Seeds &jpeg) {
    const auto sized = [](Bytes bytes, int width, int height) {
        SetFrameSize(bytes, width, height);
        return bytes;
    };
    Bytes longSegment = jpeg.at("baseline.jpg");
    longSegment[FindMarker(longSegment, 0xC0) + 2] = 0x7F;
    return {
        {"side_65535.jpg", sized(jpeg.at("baseline.jpg"), 65535, 16)},
        {"tall_65535.jpg", sized(jpeg.at("grey.jpg"), 1, 65535)},
        {"frame_twice_the_data.jpg", sized(jpeg.at("baseline.jpg"), 32, 12)},
        {"restarts_too_few.jpg", sized(jpeg.at("restart.jpg"), 16, 24)},
        {"flipped_scan_bits.jpg", FlipScanBits(MakeJpeg(Pattern(64, 48, 3)), 20)},
        {"damaged_segment_length.jpg", longSegment},
    };
}

// Small PDF documents: pages of text sharing a font, an object stream, a page tree that lists
// itself, and pages with inherited boxes, a turn, annotations and resources that refer to
// themselves.
Seeds PdfSeeds(const TempDir &dir) {
    Seeds seeds;
    const auto keep = [&](const std::string &name) { seeds[name] = ReadFile(dir / name); };
    WriteTextPdf(dir / "text3.pdf", 3);
    keep("text3.pdf");
    WriteObjectStreamPdf(dir / "objstm.pdf", 512);
    keep("objstm.pdf");
    WritePdfObjects(dir / "tree_loop.pdf",
                    {"<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[2 0 R 3 0 R]/Count 2>>",
                     "<</Type/Page/Parent 2 0 R/MediaBox[0 0 90 90]>>"});
    keep("tree_loop.pdf");
    WritePdfObjects(
        dir / "inherited.pdf",
        {"<</Type/Catalog/Pages 2 0 R>>",
         "<</Type/Pages/Kids[3 0 R]/Count 1/MediaBox[0 0 200 100]/Rotate 90/Resources 4 0 R>>",
         "<</Type/Page/Parent 2 0 R/CropBox[10 10 190 90]/Contents 5 0 R/Annots[6 0 R]>>",
         "<</Self 4 0 R/ProcSet[/PDF]>>", "<</Length 11>>\nstream\n0 0 m 9 9 l\nendstream",
         "<</Type/Annot/Subtype/Text/Rect[0 0 20 20]/P 3 0 R/Contents(note)/Popup 7 0 R>>",
         "<</Type/Annot/Subtype/Popup/Parent 6 0 R/Rect[20 20 60 60]>>"});
    keep("inherited.pdf");
    return seeds;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUTDIR\n");
        return 2;
    }
    try {
        const TempDir scratch;
        const Seeds png = PngSeeds();
        const Seeds jpeg = JpegSeeds();
        const std::map<std::string, Seeds> kinds = {
            {"bmp", BmpSeeds()},
            {"ico", IcoSeeds(png.at("rgba8.png"))},
            {"png", png},
            {"tiff", TiffSeeds(scratch)},
            {"jpeg", jpeg},
            {"jpeg_damaged", DamagedJpegSeeds(jpeg)},
            {"jpeg_mismatch", MismatchedJpegSeeds(jpeg)},
            {"fax", FaxSeeds(scratch)},
            {"pdf", PdfSeeds(scratch)},
        };
        for (const auto &[kind, seeds] : kinds) {
            const std::string folder = std::string(argv[1]) + "/" + kind;
            std::filesystem::create_directories(folder);
            for (const auto &[name, bytes] : seeds) {
                WriteFile(folder + "/" + name, bytes);
            }
            std::printf("%s: %zu seeds\n", kind.c_str(), seeds.size());
        }
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "make_fuzz_seeds: %s\n", failure.what());
        return 1;
    }
    return 0;
}
