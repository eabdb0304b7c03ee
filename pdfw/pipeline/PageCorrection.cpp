#include "pdfw/pipeline/PageCorrection.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "correction/Correction.h"
#include "pdfw/corrected/CorrectedImage.h"

namespace folvane::pdfw {

namespace {

folvane::correction::SourceKind sourceOf(PagePicture::Source source) {
    switch (source) {
    case PagePicture::Source::Photo:
        return folvane::correction::SourceKind::Photo;
    case PagePicture::Source::Scan:
        return folvane::correction::SourceKind::Scan;
    case PagePicture::Source::Unknown:
        break;
    }
    return folvane::correction::SourceKind::Unknown;
}

folvane::correction::Picture pictureFor(const PagePicture &page, const CorrectionRequest &asked) {
    folvane::correction::Picture picture;
    picture.pixels = page.rows.data();
    picture.size = page.rows.size();
    picture.width = static_cast<int>(page.width);
    picture.height = static_cast<int>(page.height);
    picture.channels = page.channels;
    picture.stride = page.stride;
    picture.orientation = page.orientation;
    picture.kind = sourceOf(page.source);
    picture.dpi = page.dpi;
    picture.straightenCurves = asked.straightenCurves;
    picture.splitSpreads = asked.splitSpreads;
    picture.rightToLeft = asked.rightToLeft;
    if (asked.handCorners) {
        folvane::correction::Corners corners;
        for (int i = 0; i < 4; ++i) {
            corners[i] = {asked.corners[2 * i], asked.corners[2 * i + 1]};
        }
        picture.corners = corners;
    }
    return picture;
}

// The corrected page's grey, as recognition reads it.
PagePixels textPixels(const folvane::correction::CorrectedPage &page, const MemoryProcs &memory) {
    PagePixels pixels;
    pixels.rows = Buffer(memory, page.grey.size(), "corrected page for recognition");
    std::memcpy(pixels.rows.data(), page.grey.data(), page.grey.size());
    pixels.image.width = page.width;
    pixels.image.height = page.height;
    pixels.image.depth = 8;
    pixels.image.rows = pixels.rows.data();
    pixels.image.rowBytes = static_cast<std::size_t>(page.width);
    pixels.image.orientation = 1;
    pixels.image.dpi = static_cast<int>(std::lround(page.dpi));
    return pixels;
}

// The note for a page correction left as it is.
Note notCorrectedNote(const folvane::correction::Failure &failure) {
    using Kind = folvane::correction::Failure::Kind;
    switch (failure.kind) {
    case Kind::OutOfMemory:
        return {PDFW_NOTE_NOT_CORRECTED, PDFW_CORRECTION_OUT_OF_MEMORY, ""};
    case Kind::BadCorners:
        return {PDFW_NOTE_NOT_CORRECTED, PDFW_CORRECTION_BAD_CORNERS, failure.detail};
    case Kind::ModuleCannotLoad:
        return {PDFW_NOTE_NOT_CORRECTED, PDFW_CORRECTION_MODULE_CANNOT_LOAD, failure.detail};
    case Kind::ModuleWrongVersion:
    case Kind::ModuleFailedToStart:
        return {PDFW_NOTE_NOT_CORRECTED, PDFW_CORRECTION_MODULE_UNUSABLE, failure.path};
    case Kind::None:
    case Kind::BadPicture:
    case Kind::ProcessingFailed:
    case Kind::TwoSheets:
        break;
    }
    return {PDFW_NOTE_NOT_CORRECTED, PDFW_CORRECTION_FAILED, failure.detail};
}

} // namespace

PageCorrection correctForDocument(const ImageFormat &format, const InputFile &file,
                                  const ImageRequest &request) {
    PagePicture picture = format.picture(file, request.page, request.memory);
    std::vector<folvane::correction::CorrectedPage> pages =
        folvane::correction::correctPages(pictureFor(picture, request.correction));
    picture.rows = Buffer(); // the corrected pages hold what is needed from here on
    const folvane::correction::CorrectedPage &page = pages.front();
    PageCorrection result;
    if (page.failure.kind == folvane::correction::Failure::Kind::TwoSheets) {
        result.notes.push_back({PDFW_NOTE_SHEET_NOT_FOUND, 2, ""});
        return result;
    }
    if (page.failure) {
        result.notes.push_back(notCorrectedNote(page.failure));
        return result;
    }
    if (page.facts.plain ||
        (!page.facts.found && page.facts.treatedAs == folvane::correction::SourceKind::Photo)) {
        result.notes.push_back({PDFW_NOTE_SHEET_NOT_FOUND, 0, ""});
        return result;
    }
    for (const folvane::correction::CorrectedPage &each : pages) {
        CorrectedPart part{correctedImage(each, request.path, request.memory), {}};
        if (!request.ocrLanguages.empty()) {
            part.text = textPixels(each, request.memory);
        }
        result.pages.push_back(std::move(part));
    }
    if (result.pages.size() == 2) {
        result.pages[0].image.notes.push_back({PDFW_NOTE_SPREAD, 2, ""});
    }
    return result;
}

} // namespace folvane::pdfw
