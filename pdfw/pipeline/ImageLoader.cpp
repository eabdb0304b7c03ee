#include "pdfw/pipeline/ImageLoader.h"

#include <utility>

#include "pdfw/core/Orientation.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageFormats.h"
#include "pdfw/pipeline/ImageRecognition.h"
#include "pdfw/pipeline/PageCorrection.h"

namespace pdfw {

namespace {

// How the page shows its stored picture: as the picture itself says, then the turns asked for.
int turned(int orientation, const ImageRequest &request) {
    return turnedOrientation(orientation, request.quarterTurns);
}

} // namespace

PreparedImage prepareImage(const ImageRequest &request) {
    InputFile file(request.path);
    const ImageFormat &format = requireFormat(file);
    checkPage(format, file, request.page);
    Notes notes;
    if (request.correction.on) {
        PageCorrection corrected = correctForDocument(format, file, request);
        if (corrected.image) {
            corrected.image->orientation = turned(corrected.image->orientation, request);
            if (!request.ocrLanguages.empty()) {
                corrected.text.image.orientation =
                    turned(corrected.text.image.orientation, request);
                corrected.image->text = recognizeImage(corrected.text, request);
            }
            return std::move(*corrected.image);
        }
        notes = std::move(corrected.notes);
    }
    PreparedImage prepared = format.prepare(file, request);
    prepared.orientation = turned(prepared.orientation, request);
    prepared.notes.insert(prepared.notes.begin(), notes.begin(), notes.end());
    if (!request.ocrLanguages.empty()) {
        PagePixels pixels = format.recognitionPixels(file, request.page, request.memory);
        pixels.image.orientation = turned(pixels.image.orientation, request);
        prepared.text = recognizeImage(pixels, request);
    }
    return prepared;
}

} // namespace pdfw
