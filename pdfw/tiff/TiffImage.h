// Prepares a TIFF page as an image XObject: bilevel CCITT data passed through where PDF can
// carry it, every other page decoded with libtiff and Flate-compressed. Lossless always,
// except that 16-bit samples become 8-bit below PDF 1.5.
#pragma once

#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/PreparedImage.h"
#include <string>

#include "pdfw/core/InputFile.h"
#include "pdfw/tiff/TiffFile.h"

namespace pdfw {

PreparedImage prepareTiff(const InputFile &file, const ImageRequest &request);

// How writeTiff would take the page in: PDFW_INTAKE_COPIED (fax or JPEG data as it is),
// PDFW_INTAKE_RECOMPRESSED (decoded, or fax data re-encoded), or PDFW_INTAKE_UNUSABLE with the
// reason. Reads the tags, and the fax data of a page that would be copied.
int tiffIntake(TiffFile &tiff, const InputFile &file, std::string &reason);

} // namespace pdfw
