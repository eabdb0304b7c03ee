#include "app/PreviewPicture.h"

#include <algorithm>

#include "base/Orientation.h"
#include "image/ReducedDecode.h"

namespace {

// The upright size of a JPEG from its header and EXIF block, without decoding its pixels.
bool JpegUprightSize(const std::string &path, double &width, double &height) {
    CfImage header(FormatUnknown);
    header.SetEscapeCode(kEscapeHeaderOnly);
    if (!header.Load(path.c_str(), FormatJpeg) || header.GetFormatType() != FormatJpeg) {
        return false;
    }
    const bool swapped = folvane::SwapsAxes(header.info.exif.orientation);
    width = swapped ? header.GetHeight() : header.GetWidth();
    height = swapped ? header.GetWidth() : header.GetHeight();
    return width > 0 && height > 0;
}

// The picture at the size of its rectangle on the page, only the part inside the sheet. Declines
// (false) a picture no larger than its rectangle, which the full decode shows as it is.
bool LoadReducedPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture) {
    UiRect visible;
    const auto choose = [&](uint32_t width, uint32_t height) -> std::optional<ReducedSize> {
        const folvane::PagePlacement placement = folvane::PlaceOnPage(layout, width, height);
        const PreviewPage page = LayOutPreviewPage(client, placement, width, height);
        const UiRect &p = page.picture;
        visible =
            UiRect{std::max(p.left, page.sheet.left), std::max(p.top, page.sheet.top),
                   std::min(p.right, page.sheet.right), std::min(p.bottom, page.sheet.bottom)};
        if (p.Width() <= 0 || p.Height() <= 0 || uint32_t(p.Width()) >= width ||
            uint32_t(p.Height()) >= height || visible.Width() <= 0 || visible.Height() <= 0) {
            return std::nullopt;
        }
        return ReducedSize{uint32_t(p.Width()), uint32_t(p.Height()),
                           ImageBox{visible.left - p.left, visible.top - p.top,
                                    visible.right - p.left, visible.bottom - p.top}};
    };
    ReducedFacts facts;
    if (!LoadReduced(path.c_str(), choose, picture.image, &facts)) {
        picture.image.Init(FormatUnknown);
        return false;
    }
    picture.uprightWidth = facts.uprightWidth;
    picture.uprightHeight = facts.uprightHeight;
    picture.part = visible;
    return true;
}

} // namespace

uint8_t PreviewJpegScale(double shown) {
    for (uint8_t denominator : {8, 4, 2}) {
        if (shown * denominator <= 0.5) {
            return denominator;
        }
    }
    return 1;
}

bool LoadPreviewPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture) {
    if (LoadReducedPicture(path, layout, client, picture)) {
        return true;
    }
    CfImage &image = picture.image;
    double width = 0;
    double height = 0;
    if (JpegUprightSize(path, width, height)) {
        // A picture the image library refuses at its full size is not shown reduced either:
        // a few hundred bytes claiming 60000 x 60000 pixels are refused as they always were.
        if (width * height * 3 > double(CFIMAGE_MAX_MEMORY)) {
            return false;
        }
        const folvane::PagePlacement placement = folvane::PlaceOnPage(layout, width, height);
        const PreviewPage page = LayOutPreviewPage(client, placement, width, height);
        image.info.jpegScale = PreviewJpegScale(page.picture.Width() / width);
    }
    if (!image.Load(path.c_str(), FormatUnknown) || !image.IsValid()) {
        return false;
    }
    // TIFF pages come out of the decoder upright; JPEG photos are turned by their EXIF block.
    if (image.GetFormatType() == FormatJpeg &&
        !image.ApplyOrientation(image.info.exif.orientation)) {
        return false;
    }
    if (width == 0 || image.GetFormatType() != FormatJpeg) {
        width = image.GetWidth();
        height = image.GetHeight();
    }
    picture.uprightWidth = width;
    picture.uprightHeight = height;
    return true;
}
