#include "app/CornerRequest.h"

#include "app/CFolvaneDlg.h"
#include "app/CorrectedPreview.h"
#include "app/WindowTexts.h"

namespace {

// The photo as the editor shows it: RGB, grey spread over the three.
RgbPicture rgbOf(const CorrectionPixels &pixels) {
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

CornerQuad quadOf(const folvane::correction::Corners &corners) {
    CornerQuad quad;
    for (std::size_t i = 0; i < quad.size(); ++i) {
        quad[i] = {corners[i].x, corners[i].y};
    }
    return quad;
}

// Where the handles start: the corners given, or the sheet found in the photo (the whole
// photo when none is found).
CornerQuad startingCorners(const CorrectionPixels &pixels,
                           const std::optional<folvane::SheetCorners> &start) {
    if (start) {
        return quadOf(toPixels(*start, pixels));
    }
    const folvane::correction::SheetSearch search =
        folvane::correction::findSheet(pixels.picture());
    if (!search.failure) {
        return quadOf(search.corners);
    }
    const double right = pixels.width - 1;
    const double bottom = pixels.height - 1;
    return {CornerPoint{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
}

} // namespace

folvane::SheetCorners fullSizeCorners(const CornerQuad &quad, const CorrectionPixels &pixels) {
    folvane::correction::Corners corners;
    for (std::size_t i = 0; i < quad.size(); ++i) {
        corners[i] = {quad[i].x, quad[i].y};
    }
    return toFullSize(corners, pixels);
}

CornerEditRequest makeCornerRequest(const CorrectionPixels &pixels,
                                    const std::optional<folvane::SheetCorners> &start) {
    CornerEditRequest request;
    request.title = folvane::app::texts::window(folvane::app::texts::kCornersTitle);
    request.hint = folvane::app::texts::window(folvane::app::texts::kCornersHint);
    request.refused = folvane::app::texts::window(folvane::app::texts::kCornersRefused);
    request.accept = folvane::app::texts::window(kAnswerOk);
    request.automatic = folvane::app::texts::window(folvane::app::texts::kAnswerAutomatic);
    request.cancel = folvane::app::texts::window(kAnswerCancel);
    request.photo = rgbOf(pixels);
    request.corners = startingCorners(pixels, start);
    request.page = [&pixels](const CornerQuad &quad) {
        CorrectedPicture page;
        RgbPicture picture;
        if (correctForPreview(pixels, fullSizeCorners(quad, pixels), page)) {
            picture.rgb = std::move(page.rgb);
            picture.width = page.width;
            picture.height = page.height;
        }
        return picture;
    };
    return request;
}
