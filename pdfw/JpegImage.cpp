#include "pdfw/JpegImage.h"

#include <string>

#include "pdfw/IccProfile.h"
#include "pdfw/JpegRewriter.h"
#include "pdfw/JpegStructure.h"
#include "pdfw/PdfwError.h"

namespace pdfw {

namespace {

int writeStream(ObjectWriter &writer, const std::string &dict, const unsigned char *data,
                std::size_t size) {
    int object = writer.reserve();
    writer.writeStream(object, dict, data, size);
    return object;
}

// A file whose structure check failed: rewritten from its coefficients when libjpeg reads it
// whole, else refused with the structure check's reason and libjpeg's.
LoadedImage writeRepaired(ObjectWriter &writer, const Buffer &bytes, const ImageRequest &request,
                          const PdfwError &structure) {
    RewrittenJpeg fixed = repairJpeg(bytes.data(), bytes.size(), structure, request.memory);
    JpegInfo info = inspectJpeg(MemorySource(fixed.jpeg.data(), fixed.jpeg.size(), request.path));
    LoadedImage loaded{0, info.width, info.height, fixed.orientation, {}};
    addNote(loaded.notes,
            "repaired: " + (fixed.warnings.empty() ? std::string("its markers were damaged")
                                                   : fixed.warnings));
    std::string space = jpegColourSpace(writer, request, fixed.iccProfile, fixed.iccProblem,
                                        info.components, loaded.notes);
    loaded.object = writeStream(writer, jpegImageDictionary(info, -1, space), fixed.jpeg.data(),
                                static_cast<std::size_t>(info.length));
    return loaded;
}

} // namespace

std::string jpegImageDictionary(const JpegInfo &info, int colorTransform,
                                const std::string &colourSpace) {
    std::string dict =
        "/Type/XObject/Subtype/Image/Width " + std::to_string(info.width) + "/Height " +
        std::to_string(info.height) + "/ColorSpace" +
        (colourSpace.empty() ? IccSpaces::deviceSpace(info.components) : colourSpace) +
        "/BitsPerComponent 8/Filter/DCTDecode";
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

std::string jpegColourSpace(ObjectWriter &writer, const ImageRequest &request,
                            const std::vector<unsigned char> &profile,
                            const std::string &profileProblem, int components, std::string &notes) {
    if (!request.iccSpaces) {
        return "";
    }
    if (!profileProblem.empty()) {
        addNote(notes, "colour profile ignored: " + profileProblem);
        return "";
    }
    return request.iccSpaces->colourSpace(writer, profile, components, request.pdfMinor, notes);
}

LoadedImage writeJpeg(ObjectWriter &writer, const InputFile &file, const ImageRequest &request) {
    if (request.page != 1) {
        fail(PDFW_VALUE_ERROR, "\"" + request.path +
                                   "\" is a JPEG file, which has only page 1 "
                                   "(page " +
                                   std::to_string(request.page) + " asked)");
    }
    // The file is read once, checked in memory and written from there: the same copying a
    // plain file copy does.
    std::size_t size = checkedSize({file.size()}, "\"" + request.path + "\"");
    Buffer bytes(request.memory, size, "JPEG file");
    file.readExactly(0, bytes.data(), size, "the image data");
    JpegInfo info;
    try {
        info = inspectJpeg(MemorySource(bytes.data(), size, request.path));
    } catch (const PdfwError &structure) {
        if (structure.type() != PDFW_SYNTAX_ERROR) {
            throw;
        }
        return writeRepaired(writer, bytes, request, structure);
    }
    LoadedImage loaded{0, info.width, info.height, info.orientation, {}};
    std::string space = jpegColourSpace(writer, request, info.iccProfile, info.iccProblem,
                                        info.components, loaded.notes);
    std::string dict = jpegImageDictionary(info, -1, space);
    auto length = static_cast<std::size_t>(info.length);
    if (info.coding == JpegCoding::Arithmetic) {
        RewrittenJpeg huffman =
            rewriteJpeg(bytes.data(), length, request.path, JpegRewrite::Transcode, request.memory);
        loaded.object = writeStream(writer, dict, huffman.jpeg.data(), huffman.jpeg.size());
        return loaded;
    }
    loaded.object = writeStream(writer, dict, bytes.data(), length);
    return loaded;
}

} // namespace pdfw
