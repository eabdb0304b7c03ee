#include "pdfw/pipeline/ImageLoader.h"

#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageFormats.h"
#include "pdfw/pipeline/ImageRecognition.h"
#include "pdfw/pipeline/PageCorrection.h"

namespace pdfw {

PreparedImage prepareImage(const ImageRequest &request) {
    InputFile file(request.path);
    const ImageFormat &format = requireFormat(file);
    checkPage(format, file, request.page);
    Notes notes;
    // A cropped page is not corrected: the user's crop already says what of it is the page.
    if (request.correction.on && !request.crop) {
        PageCorrection corrected = correctForDocument(format, file, request);
        if (corrected.image) {
            if (!request.ocrLanguages.empty()) {
                corrected.image->text = recognizeImage(corrected.text, request);
            }
            return std::move(*corrected.image);
        }
        notes = std::move(corrected.notes);
    }
    PreparedImage prepared = format.prepare(file, request);
    prepared.notes.insert(prepared.notes.begin(), notes.begin(), notes.end());
    if (!request.ocrLanguages.empty()) {
        prepared.text =
            recognizeImage(format.recognitionPixels(file, request.page, request.memory), request);
    }
    return prepared;
}

} // namespace pdfw
