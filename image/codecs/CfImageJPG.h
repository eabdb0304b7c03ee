#pragma once

#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "image/CfImage.h"
#include "image/codecs/CfExifReader.h"

class JpegReadSession;

// Option bits of the JPEG option word (ImageInfo::codecOptions, index of FormatJpeg).
enum JpegOption : unsigned {
    JpegOptionGrayscale = 0x80,   // decode to 8-bit grey
    JpegOptionQuantize = 0x100,   // decode to an 8-bit palette of JpegQuality() colours
    JpegOptionDither = 0x200,     // quantize with ditherMode
    JpegOptionOnePass = 0x400,    // one-pass quantization
    JpegOptionNoSmoothing = 0x800 // plain chroma upsampling
};

// JPEG decoder over libjpeg. Before decoding it runs the EXIF reader over the same stream and
// keeps the reader (and so the segments the record's thumbnail pointer refers to) for as long
// as the codec lives. Grey files give an 8-bit image with a grey palette, colour and CMYK files
// a 24-bit image; rows are stored bottom-up. Never throws; a failure leaves its reason in
// GetLastError(): the library's own message, CfImage::Create's, or ours. The library's
// warnings are not printed.
class CfImageJPG : public CfImage {
public:
    CfImageJPG();
    ~CfImageJPG() override;

    // Decodes the JPEG at the stream's position. With ImageInfo::escape -1 only the size is
    // read; any other non-zero escape value cancels the decode (false, error text unchanged).
    bool Decode(CfStream *stream);

    // Reads the marker segments ahead of the first scan into ImageInfo::exif and puts the
    // stream back where it was. Returns the record's isExif.
    bool ReadExif(CfStream *stream);

    const CfExifReader *GetExifReader() const { return exifReader.get(); }

    // Dither mode handed to the library with JpegOptionDither; libjpeg's own default.
    J_DITHER_MODE ditherMode = JDITHER_FS;

private:
    bool DecodeJpeg(CfStream &stream);
    void ApplyOptions(jpeg_decompress_struct *cinfo);
    void ApplyResolution(const jpeg_decompress_struct *cinfo, bool exif);
    void InstallPalette(const jpeg_decompress_struct *cinfo);
    void ReadRows(JpegReadSession &jpeg);

    std::unique_ptr<CfExifReader> exifReader;
};
