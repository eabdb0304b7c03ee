// CfImage: one device-independent bitmap in the packed layout (40-byte header copy, palette
// for 1, 4 and 8 bits per pixel, bottom-up rows padded to 4 bytes, 24-bit pixels stored
// blue, green, red) in a single C-heap block, with an optional 8-bit alpha plane, an
// information record and optional frames.
//
// Contract: no operation throws and none shows anything. Failures return false, null or 0
// and, where a reason exists, leave it in info.lastError (at most 255 characters).
// Every decoder class derives from CfImage (see CfImageDecode.cpp).
#pragma once

#include <cstdint>
#include <cstdio>

#include "image/CfStream.h"
#include "image/ImageFormat.h"
#include "image/ImageInfo.h"
#include "platform/gdi/BitmapTypes.h"
#include "platform/gdi/GdiTypes.h"

// Upper bound of the pixel bytes of one image (256 MiB). Both the nominal size
// (width x height x bits / 8) and the padded rows must stay within it.
// A fuzzing build may lower it (FOLVANE_MAX_MEMORY) so that huge claimed sizes fail fast.
#ifdef FOLVANE_MAX_MEMORY
inline constexpr uint64_t CFIMAGE_MAX_MEMORY = FOLVANE_MAX_MEMORY;
#else
inline constexpr uint64_t CFIMAGE_MAX_MEMORY = 268435456;
#endif

class CfImage {
public:
    // ---- Construction and lifetime -------------------------------------------------------
    explicit CfImage(int32_t formatType = FormatUnknown);
    CfImage(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
            int32_t formatType = FormatUnknown);
    // Deep copy (see Copy); a copy of a view is a view of the same source.
    CfImage(const CfImage &source, bool copyPixels = true, bool copySelection = true,
            bool copyAlpha = true);
    CfImage &operator=(const CfImage &) = delete;
    virtual ~CfImage();

    // Frees what the image owns (nothing for a view), clears every field, then sets the
    // initial values of ImageInfo.
    void Init(int32_t formatType);
    // Allocates a new block; bits per pixel are rounded up to 1, 4, 8 or 24. Returns the
    // block, or null with one of the Create texts in info.lastError (null without a text for
    // a view). Pixel bytes are not initialised; the palette is zeroed.
    uint8_t *Create(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                    int32_t formatType = FormatUnknown);
    // Frees block, alpha, selection and layers; width, height and info stay. False for a view.
    bool Destroy();
    // Deletes the frames. False for a view.
    bool DestroyFrames();
    void Copy(const CfImage &source, bool copyPixels = true, bool copySelection = true,
              bool copyAlpha = true);
    // Copies the whole info record of source, only while this image has no block.
    void CopyInfo(const CfImage &source);
    // Moves everything from source into this image and leaves source empty with a zeroed
    // info record. False (nothing moved) when this image is a view.
    bool Transfer(CfImage &source, bool takeFrames = true);
    // Makes this image a view of source's memory; source must outlive the view.
    void ShareView(CfImage *source);

    // ---- Accessors and settings ---------------------------------------------------------
    bool IsValid() const { return block != nullptr; }
    uint32_t GetWidth() const { return static_cast<uint32_t>(header.biWidth); }
    uint32_t GetHeight() const { return static_cast<uint32_t>(header.biHeight); }
    uint16_t GetBitsPerPixel() const { return header.biBitCount; }
    uint32_t GetRowStride() const { return info.rowStride; }
    uint32_t GetColorCount() const { return header.biClrUsed; }
    bool HasPalette() const { return header.biClrUsed != 0; }
    uint8_t *GetBitmapBlock() const { return block; }
    int32_t GetFormatType() const { return info.type; }
    // Stores type when it names a format (1 to 15, 17 to 20); otherwise stores 0, false.
    bool SetFormatType(int32_t type);
    const char *GetLastError() const { return info.lastError; }
    // Copies text into info.lastError, cut to 255 characters; null clears it.
    void SetLastError(const char *text);
    int32_t GetDpiX() const { return info.dpiX; }
    int32_t GetDpiY() const { return info.dpiY; }
    // A value <= 0 becomes 96; also sets the pixels-per-metre field of both headers.
    void SetDpiX(int32_t dpi);
    void SetDpiY(int32_t dpi);
    int32_t JpegQuality() const;
    uint8_t JpegScale() const { return info.jpegScale; }
    uint32_t GetFormatOption(int32_t format = FormatUnknown) const;
    bool SetFormatOption(uint32_t option, int32_t format = FormatUnknown);
    void SetEscapeCode(int32_t value) { info.escape = value; }
    int32_t GetTransparentIndex() const { return info.transparentIndex; }
    void SetTransparentIndex(int32_t index);
    RGBQUAD GetTransparentColor() const;
    void SetTransparentColor(RGBQUAD colour);

    // ---- Memory and pixels --------------------------------------------------------------
    // Guarded operations tolerate an empty image and coordinates outside; the Unguarded
    // ones and PixelPointer must be given a valid image and coordinates inside.
    size_t BlockSize() const;
    uint8_t *RowPointer(uint32_t row) const;
    bool Contains(int32_t x, int32_t y) const;
    void Fill(uint8_t value);
    uint8_t *PixelPointer(int32_t x, int32_t y) const;
    uint8_t PixelIndexAt(int32_t x, int32_t y) const;
    uint8_t PixelIndexAtUnguarded(int32_t x, int32_t y) const;
    void PutPixelIndex(int32_t x, int32_t y, uint8_t index);
    void PutPixelIndexUnguarded(int32_t x, int32_t y, uint8_t index);
    RGBQUAD PixelColorAt(int32_t x, int32_t y, bool withAlpha = true) const;
    RGBQUAD PixelColorAtUnguarded(int32_t x, int32_t y, bool withAlpha = true) const;
    void PutPixelColor(int32_t x, int32_t y, RGBQUAD colour, bool setAlpha = false);

    // ---- Palette ------------------------------------------------------------------------
    uint32_t PaletteBytes() const { return header.biClrUsed * 4; }
    RGBQUAD *PalettePointer() const;
    RGBQUAD PaletteEntry(uint8_t index) const;
    void SetPaletteEntry(uint8_t index, uint8_t red, uint8_t green, uint8_t blue,
                         uint8_t fourth = 0);
    void CopyPalette(const RGBQUAD *entries, uint32_t count);
    void SetPaletteChannels(uint32_t count, const uint8_t *reds, const uint8_t *greens,
                            const uint8_t *blues);
    void SetGreyPalette();
    uint8_t NearestIndex(RGBQUAD colour);
    void SwapRedBlueInRow(uint8_t *row, uint32_t length) const;

    // ---- Alpha channel (value of pixel (x, y) at x + y * width, 255 = opaque) ---------------
    bool HasAlphaChannel() const { return alpha != nullptr; }
    bool CreateAlphaChannel();
    void DeleteAlphaChannel();
    void InvertAlphaChannel();
    void PutAlpha(int32_t x, int32_t y, uint8_t value);
    uint8_t AlphaAtUnguarded(int32_t x, int32_t y) const;
    uint8_t *AlphaPointer(int32_t x, int32_t y) const;
    bool FlipAlphaChannel();
    bool MirrorAlphaChannel();

    // ---- Orientation transforms and masked-pixel conversion (CfImageTransform.cpp) ----------
    // Reverses the row order in place.
    bool FlipVertical(bool flipSelection = false, bool flipAlpha = true);
    // Reverses every row.
    bool MirrorHorizontal(bool mirrorSelection = false, bool mirrorAlpha = true);
    // A quarter turn counter-clockwise / clockwise; the result goes into target when given,
    // otherwise replaces this image.
    bool RotateLeft(CfImage *target = nullptr);
    bool RotateRight(CfImage *target = nullptr);
    // Turns a picture stored as an EXIF or TIFF Orientation value (1 upright ... 8) describes
    // into its upright form: mirrors, flips and quarter turns, alpha included. Any value
    // outside 2..8 leaves it as it is. False when memory runs out (the image is then as
    // stored, or turned but not yet mirrored).
    bool ApplyOrientation(int32_t orientation);
    // Converts height rows of 16- or 32-bit pixels packed with the colour masks red, green,
    // blue into this 24-bit image of the same size, last row and last pixel first, so that
    // 16-bit input may lie in this image's own pixel rows. Source rows are ((width + 1) / 2)
    // * 4 bytes for 16 bits and width * 4 bytes for 32 bits. Other bit counts do nothing.
    void BitfieldsToRgb(const uint8_t *source, uint32_t redMask, uint32_t greenMask,
                        uint32_t blueMask, uint8_t bits);

    // ---- Files and format detection (CfImageDecode.cpp) -----------------------------------
    // Opens path and decodes it: the hinted format first (when it names one), then by
    // detection. Only a regular file is opened, without waiting on a pipe or device. On a
    // decoding failure info.lastError says why; a path that cannot be opened leaves it as it was.
    bool Load(const char *path, int32_t hint = FormatUnknown);
    // Decodes from an open file positioned at the image's first byte; never closes it.
    bool DecodeFile(FILE *file, int32_t hint = FormatUnknown);
    // Decodes from a stream positioned at the image's first byte: the hinted decoder only,
    // or with FormatUnknown every decoder in the fixed order, rewinding between attempts.
    bool Decode(CfStream *stream, int32_t hint = FormatUnknown);
    // Index of a format into info.codecOptions; 0 for FormatUnknown and unsupported values.
    static int32_t TypeIndex(int32_t format);

    // ---- Drawing (CfImageDraw.cpp, CfImageSample.cpp) ---------------------------------------
    // Draws the image into the rectangle (x, y, width, height) of dc, scaled to its size,
    // within the device's clip region and the optional clip rectangle; a negative width or
    // height means the image's own. Opaque images at their own size go straight to the
    // device; scaled ones are resampled (smooth: bilinear or area average); images with a
    // transparent index, an alpha plane or palette opacities are blended over the device's
    // content. flip shows the picture upside down. Work and memory are bounded by the
    // visible part. Returns 1 when it drew or nothing was visible, 0 when it did nothing
    // (no pixels, no dc, zero size, drawing disabled). The device's state is kept.
    int32_t Draw(HDC dc, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1,
                 const RECT *clip = nullptr, bool smooth = false, bool flip = false);
    int32_t Draw(HDC dc, const RECT &rect, const RECT *clip = nullptr, bool smooth = false,
                 bool flip = false);
    // Bilinear sample at (x, y) in pixel units (pixel centres on integers, rows from the
    // bottom); points outside take the nearest edge pixel. The fourth byte is the blended
    // alpha plane, or the palette entries' fourth byte, or 0.
    RGBQUAD SampleInterpolated(float x, float y) const;
    // Average over the box of boxWidth x boxHeight pixels centred on (x, y), each pixel
    // weighted by its area inside the box; pixels outside take the nearest edge pixel.
    RGBQUAD SampleAreaAverage(float x, float y, float boxWidth, float boxHeight) const;

    // ---- Colour operations used by decoders (declared by the ICO decoder's code) ----------
    // The negative image: 24-bit pixels and the transparent colour, the indices of an identity
    // grey palette, the entries of any other palette. False for an empty image.
    bool InvertColors();

    // ---- Fields ---------------------------------------------------------------------------
    BITMAPINFOHEADER header{}; // biWidth and biHeight survive Destroy
    uint8_t *block = nullptr;  // header copy, palette and pixel rows; null when empty
    ImageInfo info{};
    uint8_t *selection = nullptr; // width * height bytes, or null
    uint8_t *alpha = nullptr;     // width * height bytes, rows bottom-up, or null
    CfImage **layers = nullptr;   // info.layerCount owned images, or null
    CfImage **frames = nullptr;   // info.frameCount owned images, or null

private:
    bool IsView() const { return info.viewSource != nullptr; }
    void ResetFields();
    bool Rotate(CfImage *target, bool clockwise);
};
