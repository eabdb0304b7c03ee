#include "pdfw/pipeline/ImageLoader.h"

#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageFormats.h"
#include "pdfw/pipeline/ImageRecognition.h"

namespace pdfw {

PreparedImage prepareImage(const ImageRequest &request) {
    InputFile file(request.path);
    const ImageFormat &format = requireFormat(file);
    checkPage(format, file, request.page);
    PreparedImage prepared = format.prepare(file, request);
    if (!request.ocrLanguages.empty()) {
        prepared.text =
            recognizeImage(format.recognitionPixels(file, request.page, request.memory), request);
    }
    return prepared;
}

} // namespace pdfw
