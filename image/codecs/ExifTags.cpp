#include "image/codecs/ExifTags.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

#define TEXT_FIELD(member)                                                                         \
    ExifTextField {                                                                                \
        offsetof(ExifRecord, member), sizeof(ExifRecord::member)                                   \
    }

using C = ExifConversion;
using R = ExifRecord;

const ExifTag kTags[] = {
    {0x010F, "Make", TEXT_FIELD(cameraMake), C::Text},
    {0x0110, "Model", TEXT_FIELD(cameraModel), C::Text},
    {0x0112, "Orientation", &R::orientation, C::Orientation},
    {0x011A, "XResolution", &R::xResolution, C::PictureNumber},
    {0x011B, "YResolution", &R::yResolution, C::PictureNumber},
    {0x0128, "ResolutionUnit", &R::resolutionUnit, C::PictureUnit},
    {0x0201, "JPEGInterchangeFormat", {}, C::ThumbnailOffset},
    {0x0202, "JPEGInterchangeFormatLength", {}, C::ThumbnailLength},
    {0x829A, "ExposureTime", &R::exposureTime, C::Number},
    {0x829D, "FNumber", &R::apertureFNumber, C::Number},
    {0x8769, "ExifIFDPointer", {}, C::SubDirectory},
    {0x8822, "ExposureProgram", &R::exposureProgram, C::Integer},
    {0x8827, "ISOSpeedRatings", &R::isoEquivalent, C::Iso},
    {0x9000, "ExifVersion", TEXT_FIELD(version), C::Text},
    {0x9003, "DateTimeOriginal", TEXT_FIELD(dateTime), C::Text},
    {0x9102, "CompressedBitsPerPixel", &R::compressionLevel, C::Integer},
    {0x9201, "ShutterSpeedValue", &R::exposureTime, C::ApexShutter},
    {0x9202, "ApertureValue", &R::apertureFNumber, C::ApexAperture},
    {0x9203, "BrightnessValue", &R::brightness, C::Number},
    {0x9204, "ExposureBiasValue", &R::exposureBias, C::Number},
    {0x9205, "MaxApertureValue", &R::apertureFNumber, C::ApexAperture},
    {0x9206, "SubjectDistance", &R::distance, C::Number},
    {0x9207, "MeteringMode", &R::meteringMode, C::Integer},
    {0x9208, "LightSource", &R::lightSource, C::Integer},
    {0x9209, "Flash", &R::flashUsed, C::FlashFired},
    {0x920A, "FocalLength", &R::focalLength, C::Number},
    {0x9286, "UserComment", TEXT_FIELD(comment), C::UserComment},
    {0xA002, "PixelXDimension", {}, C::ImageDimension},
    {0xA003, "PixelYDimension", {}, C::ImageDimension},
    {0xA005, "InteroperabilityIFDPointer", {}, C::SubDirectory},
    {0xA20E, "FocalPlaneXResolution", &R::focalPlaneXRes, C::Number},
    {0xA20F, "FocalPlaneYResolution", &R::focalPlaneYRes, C::Number},
    {0xA210, "FocalPlaneResolutionUnit", &R::focalPlaneUnits, C::Unit},
};

#undef TEXT_FIELD

} // namespace

const ExifTag *findExifTag(uint16_t tag) {
    const auto found = std::find_if(std::begin(kTags), std::end(kTags),
                                    [tag](const ExifTag &rule) { return rule.tag == tag; });
    return found == std::end(kTags) ? nullptr : found;
}
