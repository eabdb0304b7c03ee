#include "app/CornerRequest.h"

#include "app/CFolvaneDlg.h"
#include "app/CorrectedPreview.h"
#include "app/WindowTexts.h"

namespace {

// The photo as the editor shows it: RGB, grey spread over the three.
RgbPicture RgbOf(const CorrectionPixels &pixels) {
    RgbPicture picture;
    picture.width = pixels.width;
    picture.height = pixels.height;
    if (pixels.channels == 3) {
        picture.rgb = pixels.rows;
        return picture;
    }
    picture.rgb.reserve(pixels.rows.size() * 3);
    for (uint8_t grey : pixels.rows) {
        picture.rgb.insert(picture.rgb.end(), {grey, grey, grey});
    }
    return picture;
}

CornerQuad QuadOf(const folvane::correction::Corners &corners) {
    CornerQuad quad;
    for (std::size_t i = 0; i < quad.size(); ++i) {
        quad[i] = {corners[i].x, corners[i].y};
    }
    return quad;
}

// Where the handles start: the corners given, or the sheet found in the photo (the whole
// photo when none is found).
CornerQuad StartingCorners(const CorrectionPixels &pixels,
                           const std::optional<folvane::SheetCorners> &start) {
    if (start) {
        return QuadOf(ToPixels(*start, pixels));
    }
    const folvane::correction::SheetSearch search =
        folvane::correction::findSheet(pixels.Picture());
    if (!search.failure) {
        return QuadOf(search.corners);
    }
    const double right = pixels.width - 1;
    const double bottom = pixels.height - 1;
    return {CornerPoint{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
}

} // namespace

folvane::SheetCorners FullSizeCorners(const CornerQuad &quad, const CorrectionPixels &pixels) {
    folvane::correction::Corners corners;
    for (std::size_t i = 0; i < quad.size(); ++i) {
        corners[i] = {quad[i].x, quad[i].y};
    }
    return ToFullSize(corners, pixels);
}

CornerEditRequest MakeCornerRequest(const CorrectionPixels &pixels,
                                    const std::optional<folvane::SheetCorners> &start) {
    CornerEditRequest request;
    request.title = texts::Window(texts::kCornersTitle);
    request.hint = texts::Window(texts::kCornersHint);
    request.refused = texts::Window(texts::kCornersRefused);
    request.accept = texts::Window(kAnswerOk);
    request.automatic = texts::Window(texts::kAnswerAutomatic);
    request.cancel = texts::Window(kAnswerCancel);
    request.photo = RgbOf(pixels);
    request.corners = StartingCorners(pixels, start);
    request.page = [&pixels](const CornerQuad &quad) {
        CorrectedPicture page;
        RgbPicture picture;
        if (CorrectForPreview(pixels, FullSizeCorners(quad, pixels), page)) {
            picture.rgb = std::move(page.rgb);
            picture.width = page.width;
            picture.height = page.height;
        }
        return picture;
    };
    return request;
}
