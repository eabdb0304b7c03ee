#include "app/PreviewPicture.h"

#include <algorithm>
#include <utility>

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

int ClockwiseTurns(int quarterTurns) {
    return ((quarterTurns % 4) + 4) % 4;
}

// The box of a picture `width` x `height` where it lies once the picture is turned a quarter
// clockwise (then `height` x `width`).
ImageBox TurnedClockwise(const ImageBox &box, int32_t height) {
    return ImageBox{height - box.bottom, box.left, height - box.top, box.right};
}

// The keep box of a turned picture (`width` x `height` once turned `turns` quarter turns) as a
// box of the picture before the turns: turned on round to a whole turn.
ReducedSize UnturnedSize(ReducedSize turned, int turns) {
    for (int turn = turns; turn != 0 && turn < 4; ++turn) {
        turned.keep = TurnedClockwise(turned.keep, int32_t(turned.height));
        std::swap(turned.width, turned.height);
    }
    return turned;
}

// The picture at the size of its rectangle on the page, only the part inside the sheet. Declines
// (false) a picture no larger than its rectangle, which the full decode shows as it is. The
// rectangle is that of the turned picture; the part is decoded upright, then turned.
bool LoadReducedPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture, int turns) {
    UiRect visible;
    const auto choose = [&](uint32_t uprightWidth,
                            uint32_t uprightHeight) -> std::optional<ReducedSize> {
        const uint32_t width = turns % 2 ? uprightHeight : uprightWidth;
        const uint32_t height = turns % 2 ? uprightWidth : uprightHeight;
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
        return UnturnedSize(ReducedSize{uint32_t(p.Width()), uint32_t(p.Height()),
                                        ImageBox{visible.left - p.left, visible.top - p.top,
                                                 visible.right - p.left, visible.bottom - p.top}},
                            turns);
    };
    ReducedFacts facts;
    if (!LoadReduced(path.c_str(), choose, picture.image, &facts)) {
        picture.image.Init(FormatUnknown);
        return false;
    }
    picture.uprightWidth = facts.uprightWidth;
    picture.uprightHeight = facts.uprightHeight;
    if (!TurnPreviewPicture(picture, turns)) {
        picture.image.Init(FormatUnknown);
        return false;
    }
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

bool TurnPreviewPicture(PreviewPicture &picture, int quarterTurns) {
    const int turns = ClockwiseTurns(quarterTurns);
    bool turned = true;
    if (turns == 1) {
        turned = picture.image.RotateRight();
    } else if (turns == 2) {
        turned = picture.image.FlipVertical() && picture.image.MirrorHorizontal();
    } else if (turns == 3) {
        turned = picture.image.RotateLeft();
    }
    if (turns % 2 == 1) {
        std::swap(picture.uprightWidth, picture.uprightHeight);
    }
    return turned;
}

bool LoadPreviewPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture, int quarterTurns) {
    const int turns = ClockwiseTurns(quarterTurns);
    if (LoadReducedPicture(path, layout, client, picture, turns)) {
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
        // The turned picture's rectangle has the same scale as the upright one's.
        const double shownWidth = turns % 2 ? height : width;
        const double shownHeight = turns % 2 ? width : height;
        const folvane::PagePlacement placement =
            folvane::PlaceOnPage(layout, shownWidth, shownHeight);
        const PreviewPage page = LayOutPreviewPage(client, placement, shownWidth, shownHeight);
        image.info.jpegScale = PreviewJpegScale(page.picture.Width() / shownWidth);
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
    return TurnPreviewPicture(picture, turns);
}
