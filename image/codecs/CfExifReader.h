#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/ExifRecord.h"

class CfStream;
struct ExifTag;

// One marker segment kept by the reader: the whole segment from its two length bytes on.
struct JpegSegment {
    std::vector<uint8_t> data;
    int32_t marker = 0;
    int32_t size = 0;
};

// Walks the marker segments at the head of a JPEG stream, up to the first scan, and fills an
// ExifRecord from the frame header (SOFn), the first comment (COM) and the EXIF block of an
// APP1 segment (the tags of ExifTags.cpp). Fields the stream does not supply keep their
// values; the orientation is the one folvane::ExifOrientation reads from the first EXIF block,
// as the PDF engine reads it. Nothing is printed: problems are kept in GetLastError().
//
// Every length, offset and count that a file states is checked against the segment that holds
// it before use; nothing is read outside the kept segment. The reader keeps the segments it
// read until it is destroyed: the record's thumbnail pointer refers into the kept APP1 segment
// and is valid only while the reader lives. Never throws.
class CfExifReader {
public:
    static constexpr int MaxSegments = 20;
    static constexpr int MaxNesting = 4;
    // Directories one EXIF block may make us walk in all: links may form loops or fan out, and
    // the nesting limit alone would still allow billions of walks.
    static constexpr int MaxDirectoryWalks = 256;
    static constexpr unsigned ModeMetadata = 1;

    // Fills `record`, or a zeroed record of the reader's own when `record` is null.
    explicit CfExifReader(ExifRecord *record = nullptr);
    ~CfExifReader();
    CfExifReader(const CfExifReader &) = delete;
    CfExifReader &operator=(const CfExifReader &) = delete;

    // Reads segments from the stream's current position until the first SOS. With mode bit 0
    // the EXIF block and the first comment are parsed. False on a stream that does not start
    // with SOI, on a damaged segment structure, or when EOI comes before any scan.
    bool ReadJpegSegments(CfStream *stream, unsigned mode);

    // `payload` is an APP1 payload after its two length bytes ("Exif\0\0" then a TIFF header).
    // The reader may write into it (UserComment trimming).
    bool ParseExifBlock(uint8_t *payload, size_t length);
    bool ParseDirectory(uint8_t *directory, uint8_t *base, size_t length, ExifRecord *record,
                        int level);
    // `segment` and `marker` include the two length bytes; `length` counts them too.
    void ParseComment(const uint8_t *segment, size_t length);
    void ParseFrameHeader(const uint8_t *segment, size_t length, int marker);

    double ConvertValue(const uint8_t *value, int format) const;
    unsigned Read16(const uint8_t *p) const;
    int32_t Read32(const uint8_t *p) const;
    static unsigned Read16BigEndian(const uint8_t *p);

    const char *GetLastError() const { return lastError; }
    const ExifRecord *GetRecord() const { return record; }
    int GetSegmentCount() const { return segmentCount; }
    const JpegSegment &GetSegment(int i) const { return segments[i]; }

private:
    void SetError(const char *text);
    bool ReadSegment(CfStream *stream, int marker, int length);
    void DropLastSegment();
    // Thumbnail location as one directory states it.
    struct DirectoryThumbnail {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    bool WalkDirectory(size_t offset, uint8_t *base, size_t length, ExifRecord *rec, int level);
    bool ApplyEntry(uint8_t *entry, uint8_t *base, size_t length, ExifRecord *rec, int level,
                    DirectoryThumbnail *thumbnail);
    bool WalkSubDirectory(const uint8_t *value, uint8_t *base, size_t length, ExifRecord *rec,
                          int level);
    void ApplyNumber(const ExifTag &rule, double value, ExifRecord *rec,
                     DirectoryThumbnail *thumbnail);
    void ApplyUserComment(uint8_t *value, size_t size, ExifRecord *rec);

    ExifRecord *record;
    char lastError[256];
    int32_t exifImageWidth = 0;
    int32_t motorolaOrder = 0;
    JpegSegment segments[MaxSegments];
    int32_t segmentCount = 0;
    bool ownsRecord = false;
    int directoryWalks = 0;
    bool inLinkedDirectory = false; // walking a next-directory link (the thumbnail's IFD1)
    bool orientationRead = false;   // the first EXIF block gave the record its orientation
};
