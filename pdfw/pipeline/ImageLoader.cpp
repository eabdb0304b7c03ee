#include "pdfw/pipeline/ImageLoader.h"

#include <memory>
#include <optional>
#include <utility>

#include "pdfw/core/Orientation.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageFormats.h"
#include "pdfw/pipeline/ImageRecognition.h"
#include "pdfw/pipeline/PageCorrection.h"

namespace folvane::pdfw {

namespace {

// The words of a cropped page: those wholly inside the kept part, measured from its corner. A
// word the crop line cuts goes with the part cut away.
std::shared_ptr<const folvane::ocr::PageText>
keptWords(std::shared_ptr<const folvane::ocr::PageText> text,
          const std::optional<CropRequest> &crop) {
    if (!crop || !text) {
        return text;
    }
    auto kept = std::make_shared<folvane::ocr::PageText>();
    kept->width = static_cast<int>(crop->right - crop->left);
    kept->height = static_cast<int>(crop->bottom - crop->top);
    const int dx = static_cast<int>(crop->left), dy = static_cast<int>(crop->top);
    for (folvane::ocr::Word word : text->words) {
        const folvane::ocr::Box &b = word.box;
        if (b.left < crop->left || b.top < crop->top || b.right > crop->right ||
            b.bottom > crop->bottom) {
            continue;
        }
        for (folvane::ocr::Box *box : {&word.box, &word.line}) {
            *box = {box->left - dx, box->top - dy, box->right - dx, box->bottom - dy};
        }
        word.baselineLeft -= dy;
        word.baselineRight -= dy;
        kept->words.push_back(std::move(word));
    }
    return kept;
}

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
    // A cropped page is not corrected: the user's crop already says what of it is the page.
    if (request.correction.on && !request.crop) {
        PageCorrection corrected = correctForDocument(format, file, request);
        if (!corrected.pages.empty()) {
            for (CorrectedPart &part : corrected.pages) {
                part.image.orientation = turned(part.image.orientation, request);
                if (!request.ocrLanguages.empty()) {
                    part.text.image.orientation = turned(part.text.image.orientation, request);
                    part.image.text = recognizeImage(part.text, request);
                }
            }
            PreparedImage first = std::move(corrected.pages.front().image);
            if (corrected.pages.size() == 2) {
                first.facing = std::make_shared<PreparedImage>(std::move(corrected.pages[1].image));
            }
            return first;
        }
        notes = std::move(corrected.notes);
    }
    PreparedImage prepared = format.prepare(file, request);
    prepared.orientation = turned(prepared.orientation, request);
    prepared.notes.insert(prepared.notes.begin(), notes.begin(), notes.end());
    if (!request.ocrLanguages.empty()) {
        PagePixels pixels = format.recognitionPixels(file, request.page, request.memory);
        pixels.image.orientation = turned(pixels.image.orientation, request);
        prepared.text = keptWords(recognizeImage(pixels, request), request.crop);
    }
    return prepared;
}

} // namespace folvane::pdfw
