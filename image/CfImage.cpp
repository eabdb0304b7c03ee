// CfImage lifetime, copying, transfer, views and settings.

#include "image/CfImage.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "image/SafeSize.h"

namespace {

constexpr const char *kZeroSize = "CfImage::Create : width and height must be greater than zero";
constexpr const char *kTooLarge = "CFIMAGE_MAX_MEMORY exceeded";
constexpr const char *kNoMemory = "CfImage::Create can't allocate memory";
constexpr uint32_t kHeaderBytes = sizeof(BITMAPINFOHEADER);
constexpr int32_t kDefaultDpi = 96;

uint32_t NormalisedBitCount(uint32_t bitsPerPixel) {
    if (bitsPerPixel <= 1) {
        return 1;
    }
    if (bitsPerPixel <= 4) {
        return 4;
    }
    if (bitsPerPixel <= 8) {
        return 8;
    }
    return 24;
}

uint32_t PaletteSizeFor(uint32_t bitsPerPixel) {
    return bitsPerPixel <= 8 ? (1u << bitsPerPixel) : 0;
}

// Pixels per metre for a resolution in dots per inch, rounded, kept in the 32-bit range.
int32_t PelsPerMeter(int32_t dpi) {
    const double perMeter = std::floor(dpi * 39.37007874015748 + 0.5);
    if (perMeter >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(perMeter);
}

void DeleteImages(CfImage **&images, int32_t count) {
    if (!images) {
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        delete images[i];
    }
    free(images);
    images = nullptr;
}

} // namespace

CfImage::CfImage(int32_t formatType) {
    Init(formatType);
}

CfImage::CfImage(uint32_t width, uint32_t height, uint32_t bitsPerPixel, int32_t formatType) {
    Init(formatType);
    Create(width, height, bitsPerPixel, formatType);
}

CfImage::CfImage(const CfImage &source, bool copyPixels, bool copySelection, bool copyAlpha) {
    Init(source.info.type);
    Copy(source, copyPixels, copySelection, copyAlpha);
}

CfImage::~CfImage() {
    DestroyFrames();
    Destroy();
}

void CfImage::ResetFields() {
    block = nullptr;
    selection = nullptr;
    alpha = nullptr;
    layers = nullptr;
    frames = nullptr;
    header = BITMAPINFOHEADER{};
    info = ImageInfo{};
}

void CfImage::Init(int32_t formatType) {
    // Clearing the pointers of an image that owns memory would leak it.
    if (!IsView()) {
        DestroyFrames();
        Destroy();
    }
    ResetFields();
    info.type = formatType;
    info.jpegQuality = 90.0f;
    info.alphaMax = 255;
    info.transparentIndex = -1;
    info.drawEnabled = true;
    info.jpegScale = 1;
    SetDpiX(kDefaultDpi);
    SetDpiY(kDefaultDpi);
}

uint8_t *CfImage::Create(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                         int32_t formatType) {
    if (!Destroy()) {
        return nullptr;
    }
    if (width == 0 || height == 0) {
        SetLastError(kZeroSize);
        return nullptr;
    }
    const uint32_t bits = NormalisedBitCount(bitsPerPixel);
    const double nominalBytes = double(width) * double(height) * double(bits) * 0.125;
    if (nominalBytes > double(CFIMAGE_MAX_MEMORY)) {
        SetLastError(kTooLarge);
        return nullptr;
    }
    // The padded rows can be up to 32 times the nominal size (1-bit images one pixel wide),
    // and the header stores width and height as signed 32-bit values: hold both to the
    // ceiling too, so that no size below can wrap.
    const auto stride = SafeSize::RowStride(width, bits);
    const auto pixelBytes = stride ? SafeSize::mul(*stride, height) : std::nullopt;
    if (!pixelBytes || *pixelBytes > CFIMAGE_MAX_MEMORY ||
        width > uint32_t(std::numeric_limits<int32_t>::max()) ||
        height > uint32_t(std::numeric_limits<int32_t>::max())) {
        SetLastError(kTooLarge);
        return nullptr;
    }

    header.biClrUsed = PaletteSizeFor(bits);
    info.type = formatType;
    info.rowStride = static_cast<uint32_t>(*stride);
    header.biBitCount = static_cast<uint16_t>(bits);
    header.biWidth = static_cast<int32_t>(width);
    header.biSize = kHeaderBytes;
    header.biHeight = static_cast<int32_t>(height);
    header.biPlanes = 1;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<uint32_t>(*pixelBytes);

    // Zeroed memory: the palette must start zeroed, and row padding and pixels never carry
    // stale heap content into a display or a file.
    block = static_cast<uint8_t *>(calloc(BlockSize(), 1));
    if (!block) {
        SetLastError(kNoMemory);
        return nullptr;
    }
    memcpy(block, &header, kHeaderBytes);
    info.pixels = RowPointer(0);
    return block;
}

bool CfImage::Destroy() {
    if (IsView()) {
        return false;
    }
    DeleteImages(layers, info.layerCount);
    info.layerCount = 0;
    free(selection);
    selection = nullptr;
    free(alpha);
    alpha = nullptr;
    free(block);
    block = nullptr;
    // The pixel pointer pointed into the freed block.
    info.pixels = nullptr;
    return true;
}

bool CfImage::DestroyFrames() {
    if (IsView()) {
        return false;
    }
    if (frames) {
        DeleteImages(frames, info.frameCount);
        info.frameCount = 0;
    }
    return true;
}

void CfImage::Copy(const CfImage &source, bool copyPixels, bool copySelection, bool copyAlpha) {
    // A view cannot take pixels of its own (Create refuses on it), and copying the source's
    // info over it would drop the view mark and let it free its source's memory.
    if (&source == this || IsView()) {
        return;
    }
    if (source.IsView()) {
        ShareView(const_cast<CfImage *>(&source));
        return;
    }
    if (!Destroy()) {
        return;
    }
    // Our frames stay ours, so their count stays with them.
    const int32_t ownFrameCount = info.frameCount;
    info = source.info;
    info.pixels = nullptr;
    info.layerCount = 0;
    if (frames) {
        info.frameCount = ownFrameCount;
    }
    header = source.header;
    if (!Create(source.GetWidth(), source.GetHeight(), source.GetBitsPerPixel(),
                source.info.type)) {
        return;
    }
    if (copyPixels && source.block) {
        memcpy(block, source.block, BlockSize());
    } else {
        CopyPalette(source.PalettePointer(), 256);
    }
    const auto planeBytes = SafeSize::mul(GetWidth(), GetHeight());
    if (copySelection && source.selection) {
        free(selection);
        selection = static_cast<uint8_t *>(malloc(*planeBytes));
        if (selection) {
            memcpy(selection, source.selection, *planeBytes);
        } else {
            SetLastError("CfImage::Copy can't allocate memory");
        }
    }
    if (copyAlpha && source.alpha) {
        free(alpha);
        alpha = static_cast<uint8_t *>(malloc(*planeBytes));
        if (alpha) {
            memcpy(alpha, source.alpha, *planeBytes);
        } else {
            SetLastError("CfImage::Copy can't allocate memory");
        }
    }
}

void CfImage::CopyInfo(const CfImage &source) {
    if (block) {
        return;
    }
    // The record describes the source's memory (pixels, view mark, array lengths); this
    // image keeps its own.
    const ImageInfo own = info;
    info = source.info;
    info.pixels = nullptr;
    info.viewSource = own.viewSource;
    if (frames) {
        info.frameCount = own.frameCount;
    }
    if (layers) {
        info.layerCount = own.layerCount;
    }
}

bool CfImage::Transfer(CfImage &source, bool takeFrames) {
    if (&source == this) {
        return true;
    }
    if (!Destroy()) {
        return false;
    }
    // Frame arrays are as long as the frameCount of the record they came with: free ours
    // while our count still describes them, and keep each count with its array.
    const int32_t ownFrameCount = info.frameCount;
    const int32_t sourceFrameCount = source.info.frameCount;
    if (takeFrames) {
        DestroyFrames();
    }

    header = source.header;
    info = source.info;
    block = source.block;
    selection = source.selection;
    alpha = source.alpha;
    layers = source.layers;
    if (takeFrames) {
        frames = source.frames;
        source.frames = nullptr;
    } else if (frames) {
        info.frameCount = ownFrameCount;
    }

    source.header = BITMAPINFOHEADER{};
    source.info = ImageInfo{};
    source.block = nullptr;
    source.selection = nullptr;
    source.alpha = nullptr;
    source.layers = nullptr;
    if (source.frames) {
        source.info.frameCount = sourceFrameCount;
    }
    return true;
}

void CfImage::ShareView(CfImage *source) {
    if (!source || source == this) {
        return;
    }
    // Memory owned so far would be lost once this image is a view.
    if (!IsView()) {
        DestroyFrames();
        Destroy();
    }
    header = source->header;
    info = source->info;
    block = source->block;
    selection = source->selection;
    alpha = source->alpha;
    layers = source->layers;
    frames = source->frames;
    info.viewSource = source;
}

bool CfImage::SetFormatType(int32_t type) {
    if ((type >= FormatBmp && type <= FormatRas) || (type >= FormatMng && type <= FormatPsd)) {
        info.type = type;
        return true;
    }
    info.type = FormatUnknown;
    return false;
}

void CfImage::SetLastError(const char *text) {
    if (!text) {
        info.lastError[0] = '\0';
        return;
    }
    const size_t length = strnlen(text, kLastErrorSize - 1);
    memmove(info.lastError, text, length);
    info.lastError[length] = '\0';
}

void CfImage::SetDpiX(int32_t dpi) {
    if (dpi <= 0) {
        dpi = kDefaultDpi;
    }
    info.dpiX = dpi;
    header.biXPelsPerMeter = PelsPerMeter(dpi);
    if (block) {
        reinterpret_cast<BITMAPINFOHEADER *>(block)->biXPelsPerMeter = header.biXPelsPerMeter;
    }
}

void CfImage::SetDpiY(int32_t dpi) {
    if (dpi <= 0) {
        dpi = kDefaultDpi;
    }
    info.dpiY = dpi;
    header.biYPelsPerMeter = PelsPerMeter(dpi);
    if (block) {
        reinterpret_cast<BITMAPINFOHEADER *>(block)->biYPelsPerMeter = header.biYPelsPerMeter;
    }
}

int32_t CfImage::JpegQuality() const {
    const double rounded = double(info.jpegQuality) + 0.5;
    if (!(rounded > double(std::numeric_limits<int32_t>::min()))) {
        return rounded != rounded ? 0 : std::numeric_limits<int32_t>::min();
    }
    if (rounded >= double(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(rounded);
}

uint32_t CfImage::GetFormatOption(int32_t format) const {
    int32_t index = TypeIndex(format);
    if (index == 0) {
        index = TypeIndex(info.type);
    }
    return info.codecOptions[index];
}

bool CfImage::SetFormatOption(uint32_t option, int32_t format) {
    int32_t index = TypeIndex(format);
    if (index == 0) {
        index = TypeIndex(info.type);
    }
    info.codecOptions[index] = option;
    return true;
}

void CfImage::SetTransparentIndex(int32_t index) {
    info.transparentIndex = int64_t(index) < int64_t(header.biClrUsed) ? index : 0;
}

RGBQUAD CfImage::GetTransparentColor() const {
    if (header.biBitCount < 24 && info.transparentIndex >= 0) {
        return PaletteEntry(static_cast<uint8_t>(info.transparentIndex));
    }
    return info.transparentColor;
}

void CfImage::SetTransparentColor(RGBQUAD colour) {
    colour.rgbReserved = 0;
    info.transparentColor = colour;
}
