#include "pdfw/pipeline/ImageLoader.h"

#include "pdfw/core/InputFile.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageKind.h"
#include "pdfw/jpeg/JpegImage.h"
#include "pdfw/pipeline/ImageRecognition.h"
#include "pdfw/png/PngImage.h"
#include "pdfw/tiff/TiffImage.h"

namespace pdfw {

namespace {

PreparedImage prepareByContent(const ImageRequest &request) {
    InputFile file(request.path);
    unsigned char head[kKindBytes] = {};
    std::size_t got = file.readAt(0, head, sizeof head);
    switch (detectImageKind(head, got)) {
    case ImageKind::Jpeg:
        return prepareJpeg(file, request);
    case ImageKind::Tiff:
        return prepareTiff(file, request);
    case ImageKind::Png:
        return preparePng(file, request);
    case ImageKind::Unknown:
        break;
    }
    fail(PDFW_TYPE_ERROR, "\"" + request.path + "\" is not a JPEG, TIFF or PNG file" +
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
