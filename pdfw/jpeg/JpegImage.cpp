#include "pdfw/jpeg/JpegImage.h"

#include <string>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegRewriter.h"
#include "pdfw/jpeg/JpegStructure.h"

namespace pdfw {

namespace {

// The first `size` bytes of the file, for the rewriting that needs them in memory.
Buffer readBytes(const InputFile &file, std::size_t size, const ImageRequest &request) {
    Buffer bytes(request.memory, size, "JPEG file");
    file.readExactly(0, bytes.data(), size, "the image data");
    return bytes;
}

// The one image XObject of `data` (bytes in memory, or a span of the file's own bytes),
// described by `info` and the file's profile.
template <typename Data>
PreparedImage prepared(const JpegInfo &info, int orientation,
                       const std::vector<unsigned char> &profile, const std::string &profileProblem,
                       int pdfMinor, Data data, std::string notes) {
    PreparedImage image;
    image.width = info.width;
    image.height = info.height;
    image.orientation = orientation;
    ColourSpace space = colourSpaceFor(profile, info.components, pdfMinor, notes, profileProblem);
    ObjectText dict = jpegImageDictionary(info, space, image.group);
    image.group.objects.push_back(streamObject(std::move(dict), std::move(data)));
    image.notes = std::move(notes);
    return image;
}

// A file whose structure check failed: rewritten from its coefficients when libjpeg reads it
// whole, else refused with the structure check's reason and libjpeg's.
PreparedImage prepareRepaired(const Buffer &bytes, const ImageRequest &request,
                              const PdfwError &structure) {
    RewrittenJpeg fixed = repairJpeg(bytes.data(), bytes.size(), structure, request.memory);
    JpegInfo info = inspectJpeg(MemorySource(fixed.jpeg.data(), fixed.jpeg.size(), request.path));
    std::string notes;
    addNote(notes, "repaired: " + (fixed.warnings.empty() ? std::string("its markers were damaged")
                                                          : fixed.warnings));
    fixed.jpeg.truncate(static_cast<std::size_t>(info.length));
    return prepared(info, fixed.orientation, fixed.iccProfile, fixed.iccProblem, request.pdfMinor,
                    std::move(fixed.jpeg), std::move(notes));
}

} // namespace

ObjectText jpegImageDictionary(const JpegInfo &info, const ColourSpace &space, ObjectGroup &group,
                               int colorTransform) {
    ObjectText dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(info.width) +
                      "/Height " + std::to_string(info.height) + "/ColorSpace";
    appendColourSpace(dict, group, space);
    dict += "/BitsPerComponent 8/Filter/DCTDecode";
    // Adobe's CMYK JPEGs store inverted ink values.
    if (info.components == 4 && info.adobe) {
        dict += "/Decode[1 0 1 0 1 0 1 0]";
    }
    if (colorTransform >= 0) {
        if (colorTransform != (info.components == 3 ? 1 : 0)) {
            dict += "/DecodeParms<</ColorTransform " + std::to_string(colorTransform) + ">>";
        }
        return dict;
    }
    // Say explicitly whether the decoder must convert from YCbCr, so that readers need not
    // guess from markers.
    if (info.components == 3 &&
        ((info.adobe && info.adobeTransform == 0) || (!info.adobe && info.rgbComponentIds))) {
        dict += "/DecodeParms<</ColorTransform 0>>";
    }
    if (info.components == 4 && info.adobe && info.adobeTransform == 2) {
        dict += "/DecodeParms<</ColorTransform 1>>";
    }
    return dict;
}

PreparedImage prepareJpeg(const InputFile &file, const ImageRequest &request) {
    if (request.page != 1) {
        fail(PDFW_VALUE_ERROR, "\"" + request.path +
                                   "\" is a JPEG file, which has only page 1 "
                                   "(page " +
                                   std::to_string(request.page) + " asked)");
    }
    std::size_t size = checkedSize({file.size()}, "\"" + request.path + "\"");
    JpegInfo info;
    try {
        info = inspectJpeg(file);
    } catch (const PdfwError &structure) {
        if (structure.type() != PDFW_SYNTAX_ERROR) {
            throw;
        }
        return prepareRepaired(readBytes(file, size, request), request, structure);
    }
    if (info.coding == JpegCoding::Arithmetic) {
        auto length = static_cast<std::size_t>(info.length);
        Buffer bytes = readBytes(file, length, request);
        RewrittenJpeg huffman =
            rewriteJpeg(bytes.data(), length, request.path, JpegRewrite::Transcode, request.memory);
        return prepared(info, info.orientation, info.iccProfile, info.iccProblem, request.pdfMinor,
                        std::move(huffman.jpeg), "");
    }
    // The checked bytes go in unchanged, copied from the file when they are written.
    return prepared(info, info.orientation, info.iccProfile, info.iccProblem, request.pdfMinor,
                    FileSpan(file, 0, info.length), "");
}

} // namespace pdfw
