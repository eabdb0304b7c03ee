// The EXIF summary of a JPEG file, filled by CfExifReader and carried as the last member of
// ImageInfo. A plain record: zeroing it is a valid empty state, copying it is a byte copy.
#pragma once

#include <cstdint>

struct ExifRecord {
    char version[5];      // ExifVersion, 4 characters and NUL
    char cameraMake[32];  // Make
    char cameraModel[40]; // Model
    char dateTime[20];    // DateTimeOriginal
    int32_t height;       // frame header: number of lines
    int32_t width;        // frame header: samples per line
    int32_t orientation;  // 1 to 8; 0 when absent or out of range
    int32_t isColor;      // 1 when the frame has 3 components
    int32_t process;      // SOF marker code, 0xC0 to 0xCF
    int32_t flashUsed;
    float focalLength;
    float exposureTime;
    float apertureFNumber;
    float distance;
    float ccdWidth;
    float exposureBias;
    int32_t lightSource;
    int32_t meteringMode;
    int32_t exposureProgram;
    int32_t isoEquivalent;
    int32_t compressionLevel;
    float focalPlaneXRes;
    float focalPlaneYRes;
    float focalPlaneUnits; // inches per unit
    float xResolution;
    float yResolution;
    float resolutionUnit; // inches per unit
    float brightness;
    char comment[256];
    // Start of the thumbnail inside the APP1 segment kept by the reader that filled this
    // record. It points into that reader's memory: valid only while the reader lives, never
    // to be dereferenced once the decode has returned.
    uint8_t *thumbnailData;
    int32_t thumbnailSize;
    bool isExif; // result of the last APP1 EXIF parse
};
