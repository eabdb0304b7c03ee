// libpng kept at arm's length for the PNG decoder.
//
// The session owns libpng's read and info structures and reads through a CfStream. Every libpng
// call that can fail runs inside one of the small member functions below: each arms libpng's
// jump buffer, makes its call and returns false when libpng jumped back. Their frames hold
// nothing with a destructor, so the jump skips no cleanup; the caller raises the failure in C++
// once the wrapper has returned. libpng's message is kept for the caller (Message); warnings
// are dropped and nothing is printed.
//
// The PDF engine has its own libpng session (pdfw/png/PngDecoder), apart on purpose: the two
// libraries report failures under different contracts and share no code.
#pragma once

#include <cstddef>
#include <cstdint>

#include <png.h>

class CfStream;

// How the decoded rows come out of libpng.
enum class PngOutput {
    Index,     // one palette index per byte
    Grey,      // one grey byte per pixel
    GreyAlpha, // grey byte, alpha byte
    Bgr,       // blue, green, red
    Bgra,      // blue, green, red, alpha
};

// Bytes per pixel of an output layout.
int pngOutputChannels(PngOutput output);

class PngReadSession {
public:
    // The stream stands right after the eight signature bytes, which the caller has checked.
    explicit PngReadSession(CfStream &stream);
    ~PngReadSession();
    PngReadSession(const PngReadSession &) = delete;
    PngReadSession &operator=(const PngReadSession &) = delete;

    // False when libpng could not allocate its structures.
    bool ready() const { return png_ != nullptr && info_ != nullptr; }

    // Reads the chunks up to the first image data (header, palette, transparency, density).
    bool readInfo();

    // Header facts, valid after ReadInfo.
    uint32_t width() const;
    uint32_t height() const;
    int bitDepth() const;
    int colorType() const;
    bool interlaced() const;
    bool hasTransparency() const;
    // The palette (PLTE) entries; count is 0 when there is none.
    const png_color *palette(int *count) const;
    // Pixels per metre from pHYs; false when the chunk is absent or gives only an aspect.
    bool pixelsPerMetre(uint32_t *x, uint32_t *y) const;

    // Sets up the transformations that deliver rows as `output`, with 16-bit samples scaled to
    // 8 bits, and tells libpng to handle the interlace passes itself. Afterwards RowBytes is
    // the length of one delivered row.
    bool setOutput(PngOutput output);
    // The same transformations without libpng's handling of the interlace passes: ReadRow then
    // delivers the rows of each pass in turn, each holding only that pass's pixels.
    bool setPassOutput(PngOutput output);
    size_t rowBytes() const { return rowBytes_; }

    // Reads the next row of a non-interlaced image, or the next pass row after SetPassOutput.
    bool readRow(uint8_t *row);
    // Reads every pass of the whole image into rows (Height() pointers of RowBytes each).
    bool readImage(uint8_t **rows);

    // libpng's reason for the last failed call.
    const char *message() const { return message_; }

private:
    bool applyTransformations(PngOutput output, bool wholeRows);

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    size_t rowBytes_ = 0;
    char message_[200] = "";
};
