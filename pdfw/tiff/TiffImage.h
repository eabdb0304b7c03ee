// Prepares a TIFF page as an image XObject: bilevel CCITT data passed through where PDF can
// carry it, JPEG strips joined into one stream, every other page decoded with libtiff and
// Flate-compressed. Lossless always, except that 16-bit samples become 8-bit below PDF 1.5.
#pragma once

#include <string>

#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/InputFile.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/jpeg/JpegStructure.h"
#include "pdfw/tiff/TiffFile.h"

namespace folvane::pdfw {

// How a TIFF page goes into the document: the one decision behind preparing and inspecting it.
struct TiffPlan {
    enum class Intake {
        Fax,        // its CCITT data as it is
        FaxRecoded, // its CCITT data re-encoded as G4, PDF readers misreading the original
        JpegStrips, // its JPEG strips joined into one stream
        Decode,     // decoded with libtiff and compressed again
    } intake = Intake::Decode;
    Buffer data;            // the fax data or the JPEG stream that goes in
    int k = -1;             // the fax data's coding as CCITTFaxDecode names it
    std::string faxProblem; // why the original fax data was re-encoded
    JpegInfo jpeg;          // of the joined JPEG stream
};

// Reads the tags, and the data of a page whose data would be copied (re-encoding fax data that
// needs it). Raises PDFW_TYPE_ERROR for a page libtiff cannot turn into a picture.
TiffPlan planTiff(TiffFile &tiff, const InputFile &file, const MemoryProcs &memory);

// Bytes of the page's samples as stored, all rows.
std::uint64_t tiffDecodedBytes(const TiffPage &p);

PreparedImage prepareTiff(const InputFile &file, const ImageRequest &request);

} // namespace folvane::pdfw
