#include "image/codecs/CfExifReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <variant>

#include "base/ByteOrder.h"
#include "base/ExifOrientation.h"
#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/ExifTags.h"
#include "image/codecs/ExifValues.h"

namespace {

bool IsFrameHeader(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

CfExifReader::CfExifReader(ExifRecord *rec) : record(rec) {
    if (record == nullptr) {
        record = new (std::nothrow) ExifRecord{};
        ownsRecord = record != nullptr;
    }
    lastError[0] = '\0';
}

CfExifReader::~CfExifReader() {
    if (ownsRecord) {
        delete record;
    }
}

void CfExifReader::SetError(const char *text) {
    std::snprintf(lastError, sizeof(lastError), "%s", text);
}

unsigned CfExifReader::Read16(const uint8_t *p) const {
    return motorolaOrder ? folvane::byte_order::be16(p) : folvane::byte_order::le16(p);
}

int32_t CfExifReader::Read32(const uint8_t *p) const {
    return static_cast<int32_t>(motorolaOrder ? folvane::byte_order::be32(p)
                                              : folvane::byte_order::le32(p));
}

unsigned CfExifReader::Read16BigEndian(const uint8_t *p) {
    return folvane::byte_order::be16(p);
}

double CfExifReader::ConvertValue(const uint8_t *value, int format) const {
    switch (format) {
    case kExifFormatByte:
        return value[0];
    case kExifFormatSignedByte:
        return static_cast<int8_t>(value[0]);
    case kExifFormatShort:
        return Read16(value);
    case kExifFormatSignedShort:
        return static_cast<int16_t>(Read16(value));
    case kExifFormatLong:
        return static_cast<uint32_t>(Read32(value));
    case kExifFormatSignedLong:
        return Read32(value);
    case kExifFormatRational: {
        // Unsigned on both sides: read as signed, a resolution of 4294967295/1 would become -1.
        uint32_t num = static_cast<uint32_t>(Read32(value));
        uint32_t den = static_cast<uint32_t>(Read32(value + 4));
        return den == 0 ? 0.0 : double(num) / double(den);
    }
    case kExifFormatSignedRational: {
        int32_t num = Read32(value);
        int32_t den = Read32(value + 4);
        return den == 0 ? 0.0 : double(num) / double(den);
    }
    case kExifFormatFloat: {
        float f;
        std::memcpy(&f, value, sizeof f);
        return f;
    }
    case kExifFormatDouble: {
        double d;
        std::memcpy(&d, value, sizeof d);
        return d;
    }
    default:
        return 0.0;
    }
}

bool CfExifReader::ReadJpegSegments(CfStream *stream, unsigned mode) {
    if (stream == nullptr || stream->GetC() != 0xFF || stream->GetC() != 0xD8) {
        return false;
    }
    bool commentTaken = false;
    for (;;) {
        if (segmentCount >= MaxSegments) {
            SetError("Too many sections in jpg file");
            return false;
        }
        int marker;
        int padding = 0;
        while ((marker = stream->GetC()) == 0xFF) {
            if (++padding > 6) {
                SetError("too many padding bytes");
                return false;
            }
        }
        int high = stream->GetC();
        int low = stream->GetC();
        int length = (high < 0 || low < 0) ? -1 : (high << 8) | low;
        if (length < 2) {
            SetError("invalid marker");
            return false;
        }
        if (!ReadSegment(stream, marker, length)) {
            return false;
        }
        JpegSegment &segment = segments[segmentCount - 1];
        uint8_t *data = segment.data.data();
        size_t size = segment.data.size();

        if (IsFrameHeader(marker)) {
            ParseFrameHeader(data, size, marker);
            continue;
        }
        switch (marker) {
        case 0xD9:
            SetError("No image in jpeg!");
            return false;
        case 0xDA:
            return true;
        case 0xE0:
            DropLastSegment();
            break;
        case 0xE1:
            if ((mode & ModeMetadata) && size >= 6 && std::memcmp(data + 2, "Exif", 4) == 0) {
                record->isExif = ParseExifBlock(data + 2, size - 2);
            } else {
                DropLastSegment();
            }
            break;
        case 0xFE:
            if ((mode & ModeMetadata) && !commentTaken) {
                ParseComment(data, size);
                commentTaken = true;
            } else {
                DropLastSegment();
            }
            break;
        default:
            break;
        }
    }
}

bool CfExifReader::ReadSegment(CfStream *stream, int marker, int length) {
    JpegSegment &segment = segments[segmentCount];
    try {
        segment.data.assign(static_cast<size_t>(length), 0);
    } catch (const std::bad_alloc &) {
        SetError("Could not allocate memory");
        return false;
    }
    segment.data[0] = static_cast<uint8_t>(length >> 8);
    segment.data[1] = static_cast<uint8_t>(length & 0xFF);
    size_t wanted = static_cast<size_t>(length) - 2;
    if (wanted > 0 && stream->Read(segment.data.data() + 2, 1, wanted) != wanted) {
        segment.data.clear();
        segment.data.shrink_to_fit();
        SetError("Premature end of file?");
        return false;
    }
    segment.marker = marker;
    segment.size = length;
    ++segmentCount;
    return true;
}

void CfExifReader::DropLastSegment() {
    JpegSegment &segment = segments[--segmentCount];
    segment.data.clear();
    segment.data.shrink_to_fit();
    segment.marker = 0;
    segment.size = 0;
}

void CfExifReader::ParseComment(const uint8_t *segment, size_t length) {
    size_t limit = length < 255 ? length : 255;
    char text[256];
    size_t n = 0;
    for (size_t a = 2; a < limit; ++a) {
        uint8_t c = segment[a];
        if (c == '\r' && a + 1 < length && segment[a + 1] == '\n') {
            continue;
        }
        if ((c >= 0x20 && c <= 0x7E) || c == '\n' || c == '\t') {
            text[n++] = static_cast<char>(c);
        } else {
            text[n++] = '?';
        }
    }
    text[n] = '\0';
    std::memcpy(record->comment, text, n + 1);
}

void CfExifReader::ParseFrameHeader(const uint8_t *segment, size_t length, int marker) {
    // Length bytes, precision, lines, samples per line, component count.
    if (length < 8) {
        return;
    }
    record->height = static_cast<int32_t>(Read16BigEndian(segment + 3));
    record->width = static_cast<int32_t>(Read16BigEndian(segment + 5));
    record->isColor = segment[7] == 3 ? 1 : 0;
    record->process = marker;
}

bool CfExifReader::ParseExifBlock(uint8_t *payload, size_t length) {
    record->flashUsed = 0;
    record->comment[0] = '\0';
    exifImageWidth = 0;
    directoryWalks = 0;
    inLinkedDirectory = false;

    if (length < 6 || std::memcmp(payload, "Exif\0\0", 6) != 0) {
        SetError("Incorrect Exif header");
        return false;
    }
    uint8_t *base = payload + 6;
    size_t blockLength = length - 6;
    if (blockLength >= 2 && base[0] == 'I' && base[1] == 'I') {
        motorolaOrder = 0;
    } else if (blockLength >= 2 && base[0] == 'M' && base[1] == 'M') {
        motorolaOrder = 1;
    } else {
        SetError("Invalid Exif alignment marker.");
        return false;
    }
    if (blockLength < 8 || Read16(base + 2) != 42) {
        SetError("Invalid Exif start (1)");
        return false;
    }
    // The picture's orientation is read the one way the PDF engine reads it too, from the
    // first EXIF block only.
    if (!orientationRead) {
        record->orientation = folvane::exifOrientation(base, blockLength);
        orientationRead = true;
    }
    int32_t firstOffset = Read32(base + 4);

    // The first directory is where the header says; a header pointing at or before the end of
    // the header itself is taken to mean the usual place right after it.
    size_t first = firstOffset > 8 ? static_cast<size_t>(firstOffset) : 8;
    if (!WalkDirectory(first, base, blockLength, record, 0)) {
        return false;
    }
    if (record->focalPlaneXRes != 0) {
        record->ccdWidth =
            exifToFloat(double(exifImageWidth) * record->focalPlaneUnits / record->focalPlaneXRes);
    }
    return true;
}

bool CfExifReader::ParseDirectory(uint8_t *directory, uint8_t *base, size_t length, ExifRecord *rec,
                                  int level) {
    if (directory < base || static_cast<size_t>(directory - base) > length) {
        SetError("Illegally sized directory");
        return false;
    }
    return WalkDirectory(static_cast<size_t>(directory - base), base, length, rec, level);
}

bool CfExifReader::WalkDirectory(size_t offset, uint8_t *base, size_t length, ExifRecord *rec,
                                 int level) {
    if (directoryWalks >= MaxDirectoryWalks) {
        SetError("Too many linked directories (corrupt exif header)");
        return false;
    }
    if (level > MaxNesting) {
        SetError("Maximum directory nesting exceeded (corrupt exif header)");
        return false;
    }
    ++directoryWalks;
    if (offset > length || length - offset < 2) {
        SetError("Illegally sized directory");
        return false;
    }
    uint8_t *directory = base + offset;
    size_t count = Read16(directory);
    // Entry count, 12-byte entries, 4-byte link to the next directory.
    auto directorySize = SafeSize::add(SafeSize::mul(count, 12).value_or(SIZE_MAX), 6);
    if (!directorySize || !SafeSize::fitsWithin(offset, *directorySize, length)) {
        SetError("Illegally sized directory");
        return false;
    }

    DirectoryThumbnail thumbnail;
    for (size_t i = 0; i < count; ++i) {
        if (!ApplyEntry(directory + 2 + 12 * i, base, length, rec, level, &thumbnail)) {
            return false;
        }
    }

    uint32_t link = static_cast<uint32_t>(Read32(directory + 2 + 12 * count));
    if (link != 0) {
        if (link >= length) {
            SetError("Illegal subdirectory link");
            return false;
        }
        // The next directory describes the thumbnail (IFD1): its resolution is not the
        // picture's.
        const bool outer = inLinkedDirectory;
        inLinkedDirectory = true;
        WalkDirectory(link, base, length, rec, level + 1);
        inLinkedDirectory = outer;
    }

    if (thumbnail.offset != 0 && thumbnail.length != 0 &&
        SafeSize::fitsWithin(thumbnail.offset, thumbnail.length, length)) {
        rec->thumbnailData = base + thumbnail.offset;
        rec->thumbnailSize = static_cast<int32_t>(thumbnail.length);
    }
    return true;
}

bool CfExifReader::ApplyEntry(uint8_t *entry, uint8_t *base, size_t length, ExifRecord *rec,
                              int level, DirectoryThumbnail *thumbnail) {
    const unsigned tag = Read16(entry);
    const int format = static_cast<int>(Read16(entry + 2));
    const uint32_t components = static_cast<uint32_t>(Read32(entry + 4));
    if (format > kExifLastFormat) {
        SetError("Illegal format code in EXIF dir");
        return false;
    }
    // Values of up to four bytes sit in the entry itself, longer ones where its offset says.
    const auto byteCount = SafeSize::mul(components, exifBytesPerFormat(format));
    uint8_t *value = entry + 8;
    if (!byteCount || *byteCount > 4) {
        const uint32_t valueOffset = static_cast<uint32_t>(Read32(entry + 8));
        if (!byteCount || !SafeSize::fitsWithin(valueOffset, *byteCount, length)) {
            SetError("Illegal pointer offset value in EXIF.");
            return false;
        }
        value = base + valueOffset;
    }
    const ExifTag *rule = findExifTag(static_cast<uint16_t>(tag));
    if (rule == nullptr) {
        return true;
    }
    switch (rule->conversion) {
    case ExifConversion::Text: {
        const ExifTextField field = std::get<ExifTextField>(rule->field);
        exifCopyText(reinterpret_cast<char *>(rec) + field.offset, field.size - 1, value,
                     *byteCount);
        return true;
    }
    case ExifConversion::UserComment:
        ApplyUserComment(value, *byteCount, rec);
        return true;
    case ExifConversion::SubDirectory:
        return WalkSubDirectory(value, base, length, rec, level);
    default:
        break;
    }
    // Every other tag we use is a number; an entry without a single component carries none.
    if (components != 0 && exifBytesPerFormat(format) != 0) {
        ApplyNumber(*rule, ConvertValue(value, format), rec, thumbnail);
    }
    return true;
}

// A link to a further directory (the EXIF and interoperability directories). A failing walk
// leaves its message but does not end the walk of this directory.
bool CfExifReader::WalkSubDirectory(const uint8_t *value, uint8_t *base, size_t length,
                                    ExifRecord *rec, int level) {
    const int32_t subOffset = Read32(value);
    if (subOffset <= 8) {
        return true;
    }
    if (static_cast<size_t>(subOffset) >= length) {
        SetError("Illegal subdirectory link");
        return false;
    }
    WalkDirectory(static_cast<size_t>(subOffset), base, length, rec, level + 1);
    return true;
}

void CfExifReader::ApplyNumber(const ExifTag &rule, double v, ExifRecord *rec,
                               DirectoryThumbnail *thumbnail) {
    const auto asFloat = [&]() -> float & {
        return rec->*std::get<float ExifRecord::*>(rule.field);
    };
    const auto asInt = [&]() -> int32_t & {
        return rec->*std::get<int32_t ExifRecord::*>(rule.field);
    };
    const auto asOffset = [v] {
        return v > 0 && v <= 4294967295.0 ? static_cast<uint32_t>(v) : 0u;
    };
    switch (rule.conversion) {
    case ExifConversion::Number:
        asFloat() = exifToFloat(v);
        break;
    case ExifConversion::Integer:
        asInt() = exifToInt32(v);
        break;
    case ExifConversion::PictureNumber:
        if (!inLinkedDirectory) {
            asFloat() = exifToFloat(v);
        }
        break;
    case ExifConversion::PictureUnit:
        if (!inLinkedDirectory) {
            exifInchesPerUnit(exifToInt32(v), &asFloat());
        }
        break;
    case ExifConversion::Unit:
        exifInchesPerUnit(exifToInt32(v), &asFloat());
        break;
    case ExifConversion::Orientation:
        // The value itself is read by folvane::ExifOrientation (see ParseExifBlock).
        if (exifToInt32(v) < 1 || exifToInt32(v) > 8) {
            SetError("Undefined rotation value");
        }
        break;
    case ExifConversion::Iso: {
        const double iso = std::trunc(v);
        asInt() = exifToInt32(iso < 50 ? iso * 200 : iso);
        break;
    }
    case ExifConversion::ApexShutter:
        if (asFloat() == 0) {
            asFloat() = exifToFloat(1.0 / std::exp2(v));
        }
        break;
    case ExifConversion::ApexAperture:
        if (asFloat() == 0) {
            asFloat() = exifToFloat(std::exp2(v / 2));
        }
        break;
    case ExifConversion::FlashFired:
        asInt() = (exifToInt32(v) & 7) != 0 ? 1 : 0;
        break;
    case ExifConversion::ImageDimension:
        exifImageWidth = std::max(exifImageWidth, exifToInt32(v));
        break;
    case ExifConversion::ThumbnailOffset:
        thumbnail->offset = asOffset();
        break;
    case ExifConversion::ThumbnailLength:
        thumbnail->length = asOffset();
        break;
    default:
        break;
    }
}

void CfExifReader::ApplyUserComment(uint8_t *value, size_t size, ExifRecord *rec) {
    for (size_t a = size; a-- > 0;) {
        if (value[a] != ' ') {
            break;
        }
        value[a] = 0;
    }
    constexpr size_t maxChars = 199;
    if (size >= 5 && std::memcmp(value, "ASCII", 5) == 0) {
        for (size_t a = 5; a < 10 && a < size; ++a) {
            if (value[a] != 0 && value[a] != ' ') {
                exifCopyText(rec->comment, maxChars, value + a, size - a);
                return;
            }
        }
        return;
    }
    exifCopyText(rec->comment, maxChars, value, size);
}
