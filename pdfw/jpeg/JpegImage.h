// Prepares a JPEG file as an image XObject: its bytes unchanged (DCTDecode) when PDF can carry
// them, losslessly re-coded when they are arithmetic-coded, and rewritten from their
// coefficients when the markers are damaged but libjpeg reads the picture whole.
#pragma once

#include <optional>

#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/InputFile.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/jpeg/JpegRewriter.h"
#include "pdfw/jpeg/JpegStructure.h"
#include "pdfw/raster/IccProfile.h"

namespace folvane::pdfw {

// How a JPEG goes into the document: the one decision behind preparing and inspecting it.
struct JpegPlan {
    enum class Intake { Copy, Transcode, Repair } intake = Intake::Copy;
    JpegInfo info;                         // of the bytes that go in
    std::optional<RewrittenJpeg> repaired; // for a repair: the rewritten file
};

// Checks the file's structure; a file whose check fails is repaired there and then (only a
// repair tells whether it can be), else refused with the check's reason and libjpeg's.
JpegPlan planJpeg(const InputFile &file, const MemoryProcs &memory);

// The image dictionary entries (without /Length) for a JPEG carried as DCTDecode in colour
// space `space`, whose profile (if any) goes into `group`'s shared resources.
// `colorTransform` 0 or 1 overrides what the JPEG's own markers say about YCbCr.
ObjectText jpegImageDictionary(const JpegInfo &info, const ColourSpace &space, ObjectGroup &group,
                               int colorTransform = -1);

PreparedImage prepareJpeg(const InputFile &file, const ImageRequest &request);

} // namespace folvane::pdfw
