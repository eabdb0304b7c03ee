#include "pdfw/JpegImage.h"

#include <string>
#include <utility>

#include "pdfw/JpegStructure.h"
#include "pdfw/JpegTranscoder.h"
#include "pdfw/PdfwError.h"

namespace pdfw {

std::string jpegImageDictionary(const JpegInfo &info, int colorTransform) {
    static const char *const kSpaces[] = {"", "/DeviceGray", "", "/DeviceRGB", "/DeviceCMYK"};
    std::string dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(info.width) +
                       "/Height " + std::to_string(info.height) + "/ColorSpace" +
                       kSpaces[info.components] + "/BitsPerComponent 8/Filter/DCTDecode";
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
    JpegInfo info = inspectJpeg(file);
    PreparedImage prepared;
    prepared.width = info.width;
    prepared.height = info.height;
    prepared.orientation = info.orientation;
    std::string dict = jpegImageDictionary(info);
    if (info.coding == JpegCoding::Arithmetic) {
        std::size_t length = checkedSize({info.length}, "\"" + request.path + "\"");
        checkedSize({info.width, info.height, static_cast<std::uint64_t>(info.components), 2},
                    "the coefficients of \"" + request.path + "\"");
        Buffer bytes(request.memory, length, "JPEG file");
        file.readExactly(0, bytes.data(), length, "the image data");
        Buffer huffman = transcodeToHuffman(bytes.data(), length, request.path, request.memory);
        prepared.group.objects.push_back(streamObject(dict, std::move(huffman)));
        return prepared;
    }
    // The checked bytes go in unchanged, copied from the file when they are written.
    prepared.group.objects.push_back(streamObject(dict, FileSpan(file, 0, info.length)));
    return prepared;
}

} // namespace pdfw
