#include "app/CropRequest.h"

#include <cmath>

#include "app/CFolvaneDlg.h"
#include "app/PreviewPicture.h"
#include "app/WindowTexts.h"
#include "pdf/CropCheck.h"
#include "pdf/PageLayout.h"

namespace {

// The image as RGB rows, top row first (the image keeps its rows bottom up).
RgbPicture rgbOf(const CfImage &image) {
    RgbPicture picture;
    picture.width = int(image.GetWidth());
    picture.height = int(image.GetHeight());
    picture.rgb.reserve(std::size_t(picture.width) * picture.height * 3);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const RGBQUAD pixel = image.PixelColorAtUnguarded(x, y, false);
            picture.rgb.insert(picture.rgb.end(), {pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue});
        }
    }
    return picture;
}

int scaled(int value, int to, int from) {
    return int(std::lround(double(value) * to / from));
}

} // namespace

bool loadCropPicture(const std::string &path, int quarterTurns, CropPicture &picture) {
    PreviewPicture turned;
    // Fit places the whole picture on its page: what comes back is all of it, at most the
    // editor's size.
    const UiRect side{0, 0, kCropEditorSide, kCropEditorSide};
    if (!loadPreviewPicture(path, folvane::PageLayout::fitted(), side, turned, quarterTurns) ||
        !turned.image.IsValid()) {
        return false;
    }
    picture.page = rgbOf(turned.image);
    picture.fullWidth = int(turned.uprightWidth);
    picture.fullHeight = int(turned.uprightHeight);
    if (!picture.turned.Transfer(turned.image)) {
        return false;
    }
    return !picture.page.Empty() && picture.fullWidth > 0 && picture.fullHeight > 0;
}

folvane::CropRect fullSizeCrop(const CropBox &box, const CropPicture &picture) {
    const int width = picture.page.width, height = picture.page.height;
    return folvane::CropRect{scaled(box.left, picture.fullWidth, width),
                             scaled(box.top, picture.fullHeight, height),
                             scaled(box.right, picture.fullWidth, width),
                             scaled(box.bottom, picture.fullHeight, height)};
}

CropBox editorCrop(const folvane::CropRect &crop, const CropPicture &picture) {
    const int width = picture.page.width, height = picture.page.height;
    return CropBox{scaled(crop.left, width, picture.fullWidth),
                   scaled(crop.top, height, picture.fullHeight),
                   scaled(crop.right, width, picture.fullWidth),
                   scaled(crop.bottom, height, picture.fullHeight)};
}

std::string cropRefusal(const folvane::CropRect &crop, const CropPicture &picture) {
    switch (folvane::cropFitOf(crop, picture.fullWidth, picture.fullHeight)) {
    case folvane::CropFit::Fits:
        return "";
    case folvane::CropFit::TooSmall:
        return folvane::app::texts::window(folvane::app::texts::kCropTooSmall,
                                           {std::to_string(folvane::kMinCropSide)});
    case folvane::CropFit::OutsideImage:
        break;
    }
    return folvane::app::texts::window(folvane::app::texts::kCropOutside);
}

CropEditRequest makeCropRequest(const CropPicture &picture,
                                const std::optional<folvane::CropRect> &crop) {
    CropEditRequest request;
    request.title = folvane::app::texts::window(folvane::app::texts::kCropTitle);
    request.hint = folvane::app::texts::window(folvane::app::texts::kCropHint);
    request.accept = folvane::app::texts::window(kAnswerOk);
    request.reset = folvane::app::texts::window(folvane::app::texts::kAnswerWholePage);
    request.cancel = folvane::app::texts::window(kAnswerCancel);
    request.page = picture.page;
    request.crop =
        crop ? editorCrop(*crop, picture) : CropBox{0, 0, picture.page.width, picture.page.height};
    request.refusal = [&picture](const CropBox &box) {
        return cropRefusal(fullSizeCrop(box, picture), picture);
    };
    return request;
}
