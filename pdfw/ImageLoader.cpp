#include "pdfw/ImageLoader.h"

#include <cstring>

#include "pdfw/ImageRecognition.h"
#include "pdfw/InputFile.h"
#include "pdfw/JpegImage.h"
#include "pdfw/PdfwError.h"
#include "pdfw/TiffImage.h"

namespace pdfw {

namespace {

PreparedImage prepareByContent(const ImageRequest &request) {
    InputFile file(request.path);
    unsigned char head[4] = {};
    std::size_t got = file.readAt(0, head, sizeof head);
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
        return prepareJpeg(file, request);
    }
    if (got == 4 &&
        ((std::memcmp(head, "II", 2) == 0 && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
         (std::memcmp(head, "MM", 2) == 0 && head[2] == 0 && (head[3] == 42 || head[3] == 43)))) {
        return prepareTiff(file, request);
    }
    fail(PDFW_TYPE_ERROR, "\"" + request.path + "\" is neither a JPEG nor a TIFF file" +
                              (got == 0 ? std::string(" (it is empty)") : std::string()));
}

} // namespace

PreparedImage prepareImage(const ImageRequest &request) {
    PreparedImage prepared = prepareByContent(request);
    if (!request.ocrLanguages.empty()) {
        prepared.text = recognizeImage(request);
    }
    return prepared;
}

} // namespace pdfw
