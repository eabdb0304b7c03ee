#include "tests/support/Tiff.h"

#include <algorithm>
#include <stdexcept>

namespace support {

namespace {

void Check(bool done, const std::string &what) {
    if (!done) {
        throw std::runtime_error("WriteTiff: libtiff refused " + what);
    }
}

// One plane of a planar page: the page with only sample `sample` of every pixel.
TiffPage Plane(const TiffPage &page, uint16_t sample) {
    TiffPage plane = page;
    plane.samplesPerPixel = 1;
    plane.data.clear();
    const std::size_t sampleBytes = page.bitsPerSample / 8;
    for (std::size_t pixel = 0; pixel < std::size_t{page.width} * page.height; ++pixel) {
        const auto first = page.data.begin() +
                           static_cast<long>((pixel * page.samplesPerPixel + sample) * sampleBytes);
        plane.data.insert(plane.data.end(), first, first + static_cast<long>(sampleBytes));
    }
    return plane;
}

void WriteStrips(TIFF *tif, const TiffPage &page, uint32_t firstStrip) {
    const std::size_t rowBytes = page.RowBytes();
    const uint32_t rowsPerStrip = page.rowsPerStrip == 0 ? page.height : page.rowsPerStrip;
    uint32_t strip = firstStrip;
    for (uint32_t y = 0; y < page.height; y += rowsPerStrip, ++strip) {
        const uint32_t rows = std::min(rowsPerStrip, page.height - y);
        Bytes bytes(page.data.begin() + y * rowBytes, page.data.begin() + (y + rows) * rowBytes);
        Check(TIFFWriteEncodedStrip(tif, strip, bytes.data(),
                                    static_cast<tmsize_t>(bytes.size())) >= 0,
              "a strip");
    }
}

void WriteTiles(TIFF *tif, const TiffPage &page, uint16_t sample) {
    const std::size_t pixelBytes = std::size_t{page.samplesPerPixel} * page.bitsPerSample / 8;
    const std::size_t rowBytes = page.RowBytes();
    const std::size_t tileRowBytes = page.tileWidth * pixelBytes;
    for (uint32_t ty = 0; ty < page.height; ty += page.tileLength) {
        for (uint32_t tx = 0; tx < page.width; tx += page.tileWidth) {
            Bytes tile(tileRowBytes * page.tileLength, 0xEE);
            const std::size_t inside =
                std::min<std::size_t>(page.tileWidth, page.width - tx) * pixelBytes;
            for (uint32_t r = 0; r < page.tileLength && ty + r < page.height; ++r) {
                std::copy_n(page.data.begin() + (ty + r) * rowBytes + tx * pixelBytes, inside,
                            tile.begin() + r * tileRowBytes);
            }
            Check(TIFFWriteTile(tif, tile.data(), tx, ty, 0, sample) >= 0, "a tile");
        }
    }
}

void WritePixels(TIFF *tif, const TiffPage &page) {
    if (page.coded) {
        Check(TIFFWriteRawStrip(tif, 0, const_cast<uint8_t *>(page.data.data()),
                                static_cast<tmsize_t>(page.data.size())) >= 0,
              "the coded strip");
        return;
    }
    const bool separate = page.planar == PLANARCONFIG_SEPARATE;
    const uint16_t planes = separate ? page.samplesPerPixel : 1;
    const uint32_t rowsPerStrip = page.rowsPerStrip == 0 ? page.height : page.rowsPerStrip;
    const uint32_t stripsPerPlane = (page.height + rowsPerStrip - 1) / rowsPerStrip;
    for (uint16_t sample = 0; sample < planes; ++sample) {
        const TiffPage pixels = separate ? Plane(page, sample) : page;
        if (page.tileWidth != 0) {
            WriteTiles(tif, pixels, sample);
        } else {
            WriteStrips(tif, pixels, sample * stripsPerPlane);
        }
    }
}

void SetOptionalTags(TIFF *tif, const TiffPage &page) {
    if (page.orientation != 0) {
        TIFFSetField(tif, TIFFTAG_ORIENTATION, page.orientation);
    }
    if (page.fillOrder != 0) {
        TIFFSetField(tif, TIFFTAG_FILLORDER, page.fillOrder);
    }
    if (page.predictor != 0) {
        TIFFSetField(tif, TIFFTAG_PREDICTOR, page.predictor);
    }
    if (page.resolutionUnit != 0) {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, page.resolutionUnit);
    }
    const std::pair<uint32_t, const std::optional<float> &> placements[] = {
        {TIFFTAG_XRESOLUTION, page.xResolution},
        {TIFFTAG_YRESOLUTION, page.yResolution},
        {TIFFTAG_XPOSITION, page.xPosition},
        {TIFFTAG_YPOSITION, page.yPosition}};
    for (const auto &[tag, value] : placements) {
        if (value) {
            TIFFSetField(tif, tag, *value);
        }
    }
    if (!page.extraSamples.empty()) {
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(page.extraSamples.size()),
                     page.extraSamples.data());
    }
    if (!page.colorMap.empty()) {
        const std::size_t n = page.colorMap.size() / 3;
        std::vector<uint16_t> map = page.colorMap;
        TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + n, map.data() + 2 * n);
    }
    if (!page.iccProfile.empty()) {
        TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(page.iccProfile.size()),
                     page.iccProfile.data());
    }
}

void SetCodingTags(TIFF *tif, const TiffPage &page) {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
    if (page.compression == COMPRESSION_CCITTFAX3) {
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, page.group3Options);
    }
    if (page.compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, page.jpegQuality);
        if (page.jpegTablesInStrips) {
            TIFFSetField(tif, TIFFTAG_JPEGTABLESMODE, 0);
        }
        if (page.photometric == PHOTOMETRIC_YCBCR) {
            TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        }
    }
}

void WritePage(TIFF *tif, const TiffPage &page) {
    if (!page.coded && page.data.size() != page.RowBytes() * page.height) {
        throw std::invalid_argument("WriteTiff: the page's data is not height rows of its size");
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.samplesPerPixel);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bitsPerSample);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, page.planar);
    if (page.photometric == PHOTOMETRIC_SEPARATED) {
        TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
    }
    SetCodingTags(tif, page);
    SetOptionalTags(tif, page);
    if (page.tileWidth != 0) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, page.tileWidth);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, page.tileLength);
    } else if (page.rowsPerStrip != 0) {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip);
    }
    WritePixels(tif, page);
}

} // namespace

TiffPage TiffPageOf(const Picture &picture) {
    TiffPage page;
    page.width = static_cast<uint32_t>(picture.width);
    page.height = static_cast<uint32_t>(picture.height);
    page.samplesPerPixel = static_cast<uint16_t>(picture.components);
    page.photometric = picture.components >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    if (picture.components == 2 || picture.components == 4) {
        page.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    }
    page.data = picture.samples;
    return page;
}

void WriteTiff(const std::string &path, const std::vector<TiffPage> &pages, const char *mode) {
    TIFF *tif = TIFFOpen(path.c_str(), mode);
    if (tif == nullptr) {
        throw std::runtime_error("WriteTiff: cannot create " + path);
    }
    try {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (pages.size() > 1) {
                TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
                TIFFSetField(tif, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(i),
                             static_cast<uint16_t>(pages.size()));
            }
            WritePage(tif, pages[i]);
            Check(TIFFWriteDirectory(tif), "a directory");
        }
    } catch (...) {
        TIFFClose(tif);
        throw;
    }
    TIFFClose(tif);
}

void WriteTiffInBands(const std::string &path, const TiffPage &page, const RowSource &rows) {
    if (page.tileWidth != 0 || page.coded || page.planar != PLANARCONFIG_CONTIG) {
        throw std::invalid_argument("WriteTiffInBands: contiguous strips only");
    }
    TIFF *tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        throw std::runtime_error("WriteTiffInBands: cannot create " + path);
    }
    try {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.samplesPerPixel);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bitsPerSample);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        SetCodingTags(tif, page);
        SetOptionalTags(tif, page);
        if (page.compression == COMPRESSION_ADOBE_DEFLATE ||
            page.compression == COMPRESSION_DEFLATE) {
            TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1);
        }
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP,
                     page.rowsPerStrip != 0 ? page.rowsPerStrip : TIFFDefaultStripSize(tif, 0));
        Bytes row(page.RowBytes());
        for (uint32_t y = 0; y < page.height; ++y) {
            rows(y, row.data());
            Check(TIFFWriteScanline(tif, row.data(), y, 0) >= 0, "a scanline");
        }
        Check(TIFFWriteDirectory(tif), "the directory");
    } catch (...) {
        TIFFClose(tif);
        throw;
    }
    TIFFClose(tif);
}

TiffPage FaxPage(uint32_t width, uint32_t height, uint16_t compression) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.bitsPerSample = 1;
    page.photometric = PHOTOMETRIC_MINISWHITE;
    page.compression = compression;
    page.data.assign(page.RowBytes() * height, 0);
    return page;
}

Bytes ReadRawStrip(const std::string &path, uint32_t strip) {
    TIFF *tif = TIFFOpen(path.c_str(), "r");
    if (tif == nullptr) {
        return {};
    }
    Bytes bytes;
    tmsize_t size = strip < TIFFNumberOfStrips(tif) ? TIFFRawStripSize(tif, strip) : -1;
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        if (TIFFReadRawStrip(tif, strip, bytes.data(), size) != size) {
            bytes.clear();
        }
    }
    TIFFClose(tif);
    return bytes;
}

Picture ReadTiffRgba(const std::string &path, int page) {
    TIFF *tif = TIFFOpen(path.c_str(), "r");
    if (tif == nullptr) {
        return {};
    }
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> raster;
    bool read = TIFFSetDirectory(tif, static_cast<tdir_t>(page)) &&
                TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) &&
                TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) &&
                std::size_t{width} * height <= (std::size_t{1} << 28);
    if (read) {
        raster.resize(std::size_t{width} * height);
        read = TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_TOPLEFT,
                                         0) == 1;
    }
    TIFFClose(tif);
    if (!read) {
        return {};
    }
    Picture picture = Blank(static_cast<int>(width), static_cast<int>(height), 4);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        const uint32_t v = raster[i];
        const uint8_t rgba[4] = {
            static_cast<uint8_t>(TIFFGetR(v)), static_cast<uint8_t>(TIFFGetG(v)),
            static_cast<uint8_t>(TIFFGetB(v)), static_cast<uint8_t>(TIFFGetA(v))};
        std::copy(rgba, rgba + 4, picture.samples.begin() + static_cast<long>(i * 4));
    }
    return picture;
}

namespace {

// A directory of uncompressed 8-bit grey with one strip, little-endian, SHORT or LONG values.
void PutGreyDirectory(Bytes &out, uint32_t width, uint32_t height, uint32_t strip,
                      uint32_t stripBytes, uint32_t next) {
    const uint32_t entries[][3] = {{256, 4, width}, {257, 4, height}, {258, 3, 8},
                                   {259, 3, 1},     {262, 3, 1},      {273, 4, strip},
                                   {277, 3, 1},     {278, 4, height}, {279, 4, stripBytes}};
    PutLe16(out, sizeof entries / sizeof entries[0]);
    for (const auto &entry : entries) {
        PutLe16(out, entry[0]);
        PutLe16(out, entry[1]);
        PutLe32(out, 1);
        PutLe32(out, entry[2]); // a SHORT sits in the low half, little-endian
    }
    PutLe32(out, next);
}

} // namespace

Bytes TiffSecondStripCut(uint32_t present) {
    constexpr uint32_t kDirectoryBytes = 2 + 9 * 12 + 4;
    constexpr uint32_t kFirst = 24, kSecond = kFirst + kDirectoryBytes, kStrip = 512;
    Bytes bytes = {'I', 'I', 42, 0};
    PutLe32(bytes, kFirst);
    for (int i = 0; i < 16; ++i) {
        bytes.push_back(static_cast<uint8_t>(i * 16));
    }
    PutGreyDirectory(bytes, 4, 4, 8, 16, kSecond);
    PutGreyDirectory(bytes, 200, 100, kStrip, 20000, 0);
    bytes.resize(kStrip, 0);
    bytes.resize(kStrip + present, 0x80);
    return bytes;
}

Bytes EmptyDirectoryTiff() {
    Bytes bytes = {'I', 'I', 42, 0, 8, 0, 0, 0};
    PutLe16(bytes, 0); // no entries
    PutLe32(bytes, 0); // no next directory
    return bytes;
}

} // namespace support
