#include "app/PreviewPicture.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Orientation.h"
#include "image/ReducedDecode.h"
#include "pdf/CropCheck.h"

namespace {

// The upright size of a JPEG from its header and EXIF block, without decoding its pixels.
bool jpegUprightSize(const std::string &path, double &width, double &height) {
    CfImage header(FormatUnknown);
    header.SetEscapeCode(kEscapeHeaderOnly);
    if (!header.Load(path.c_str(), FormatJpeg) || header.GetFormatType() != FormatJpeg) {
        return false;
    }
    const bool swapped = folvane::swapsAxes(header.info.exif.orientation);
    width = swapped ? header.GetHeight() : header.GetWidth();
    height = swapped ? header.GetWidth() : header.GetHeight();
    return width > 0 && height > 0;
}

int clockwiseTurns(int quarterTurns) {
    return ((quarterTurns % 4) + 4) % 4;
}

// The box of a picture `width` x `height` where it lies once the picture is turned a quarter
// clockwise (then `height` x `width`).
ImageBox turnedClockwise(const ImageBox &box, int32_t height) {
    return ImageBox{height - box.bottom, box.left, height - box.top, box.right};
}

// The keep box of a turned picture (`width` x `height` once turned `turns` quarter turns) as a
// box of the picture before the turns: turned on round to a whole turn.
ReducedSize unturnedSize(ReducedSize turned, int turns) {
    for (int turn = turns; turn != 0 && turn < 4; ++turn) {
        turned.keep = turnedClockwise(turned.keep, int32_t(turned.height));
        std::swap(turned.width, turned.height);
    }
    return turned;
}

// The part of a turned picture `width` x `height` the page shows: the crop while it fits the
// picture, otherwise all of it.
folvane::CropRect keptPart(const std::optional<folvane::CropRect> &crop, int width, int height) {
    if (crop && folvane::cropFitOf(*crop, width, height) == folvane::CropFit::Fits) {
        return *crop;
    }
    return folvane::CropRect{0, 0, width, height};
}

// Where the whole turned picture (`width` x `height`) lies in the frame when its kept part fills
// `keptPlace`.
UiRect wholePlace(const UiRect &keptPlace, const folvane::CropRect &kept, int width, int height) {
    const double xScale = double(keptPlace.Width()) / (kept.right - kept.left);
    const double yScale = double(keptPlace.Height()) / (kept.bottom - kept.top);
    const int left = keptPlace.left - int(std::lround(kept.left * xScale));
    const int top = keptPlace.top - int(std::lround(kept.top * yScale));
    return UiRect{left, top, left + int(std::lround(width * xScale)),
                  top + int(std::lround(height * yScale))};
}

// The page laid out in client for the kept part of a turned picture.
PreviewPage keptPage(const folvane::PageLayout &layout, const UiRect &client,
                     const folvane::CropRect &kept) {
    const double width = kept.right - kept.left;
    const double height = kept.bottom - kept.top;
    return layOutPreviewPage(client, folvane::placeOnPage(layout, width, height), width, height);
}

// The picture at the size of its rectangle on the page, only the part inside the sheet (and the
// crop). Declines (false) a picture no larger than its rectangle, which the full decode shows as
// it is. The rectangle is that of the turned picture; the part is decoded upright, then turned.
bool loadReducedPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture, int turns,
                        const std::optional<folvane::CropRect> &crop) {
    UiRect visible;
    folvane::CropRect kept;
    const auto choose = [&](uint32_t uprightWidth,
                            uint32_t uprightHeight) -> std::optional<ReducedSize> {
        const uint32_t width = turns % 2 ? uprightHeight : uprightWidth;
        const uint32_t height = turns % 2 ? uprightWidth : uprightHeight;
        kept = keptPart(crop, int(width), int(height));
        const PreviewPage page = keptPage(layout, client, kept);
        const UiRect &p = page.picture;
        const UiRect whole = wholePlace(p, kept, int(width), int(height));
        visible =
            UiRect{std::max(p.left, page.sheet.left), std::max(p.top, page.sheet.top),
                   std::min(p.right, page.sheet.right), std::min(p.bottom, page.sheet.bottom)};
        if (whole.Width() <= 0 || whole.Height() <= 0 || uint32_t(whole.Width()) >= width ||
            uint32_t(whole.Height()) >= height || visible.Width() <= 0 || visible.Height() <= 0) {
            return std::nullopt;
        }
        const auto inside = [](int value, int end) { return std::clamp(value, 0, end); };
        const ImageBox keep{inside(visible.left - whole.left, whole.Width()),
                            inside(visible.top - whole.top, whole.Height()),
                            inside(visible.right - whole.left, whole.Width()),
                            inside(visible.bottom - whole.top, whole.Height())};
        if (keep.left >= keep.right || keep.top >= keep.bottom) {
            return std::nullopt;
        }
        visible = UiRect{whole.left + keep.left, whole.top + keep.top, whole.left + keep.right,
                         whole.top + keep.bottom};
        return unturnedSize(ReducedSize{uint32_t(whole.Width()), uint32_t(whole.Height()), keep},
                            turns);
    };
    ReducedFacts facts;
    if (!loadReduced(path.c_str(), choose, picture.image, &facts)) {
        picture.image.Init(FormatUnknown);
        return false;
    }
    picture.uprightWidth = facts.uprightWidth;
    picture.uprightHeight = facts.uprightHeight;
    if (!turnPreviewPicture(picture, turns)) {
        picture.image.Init(FormatUnknown);
        return false;
    }
    picture.uprightWidth = kept.right - kept.left;
    picture.uprightHeight = kept.bottom - kept.top;
    picture.part = visible;
    return true;
}

// Shows only the kept part of a whole turned picture: the page is laid out for that part, and
// the whole picture is drawn around it, reaching past it.
void keepPart(PreviewPicture &picture, const folvane::PageLayout &layout, const UiRect &client,
              const std::optional<folvane::CropRect> &crop) {
    const int width = int(picture.uprightWidth);
    const int height = int(picture.uprightHeight);
    const folvane::CropRect kept = keptPart(crop, width, height);
    if (kept == folvane::CropRect{0, 0, width, height}) {
        return;
    }
    picture.part = wholePlace(keptPage(layout, client, kept).picture, kept, width, height);
    picture.uprightWidth = kept.right - kept.left;
    picture.uprightHeight = kept.bottom - kept.top;
}

} // namespace

void keepCropPart(PreviewPicture &picture, const folvane::PageLayout &layout, const UiRect &client,
                  const std::optional<folvane::CropRect> &crop) {
    keepPart(picture, layout, client, crop);
}

uint8_t previewJpegScale(double shown) {
    for (uint8_t denominator : {8, 4, 2}) {
        if (shown * denominator <= 0.5) {
            return denominator;
        }
    }
    return 1;
}

bool turnPreviewPicture(PreviewPicture &picture, int quarterTurns) {
    const int turns = clockwiseTurns(quarterTurns);
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

bool previewFromWhole(const WholePicture &whole, const folvane::PageLayout &layout,
                      const UiRect &client, const std::optional<folvane::CropRect> &crop,
                      PreviewPicture &picture) {
    if (!whole.image.IsValid() || whole.fullWidth <= 0 || whole.fullHeight <= 0) {
        return false;
    }
    const folvane::CropRect kept = keptPart(crop, whole.fullWidth, whole.fullHeight);
    const UiRect shown = keptPage(layout, client, kept).picture;
    const double decodedPerFull = double(whole.image.GetWidth()) / whole.fullWidth;
    if ((kept.right - kept.left) * decodedPerFull < shown.Width() ||
        (kept.bottom - kept.top) * decodedPerFull < shown.Height()) {
        return false;
    }
    picture.image.Copy(whole.image);
    if (!picture.image.IsValid()) {
        return false;
    }
    picture.uprightWidth = whole.fullWidth;
    picture.uprightHeight = whole.fullHeight;
    picture.part.reset();
    keepPart(picture, layout, client, crop);
    return true;
}

bool loadPreviewPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture, int quarterTurns,
                        const std::optional<folvane::CropRect> &crop) {
    const int turns = clockwiseTurns(quarterTurns);
    if (loadReducedPicture(path, layout, client, picture, turns, crop)) {
        return true;
    }
    CfImage &image = picture.image;
    double width = 0;
    double height = 0;
    if (jpegUprightSize(path, width, height)) {
        // A picture the image library refuses at its full size is not shown reduced either:
        // a few hundred bytes claiming 60000 x 60000 pixels are refused as they always were.
        if (width * height * 3 > double(CFIMAGE_MAX_MEMORY)) {
            return false;
        }
        // The turned picture's rectangle has the same scale as the upright one's.
        const int shownWidth = int(turns % 2 ? height : width);
        const int shownHeight = int(turns % 2 ? width : height);
        const folvane::CropRect kept = keptPart(crop, shownWidth, shownHeight);
        const PreviewPage page = keptPage(layout, client, kept);
        image.info.jpegScale =
            previewJpegScale(double(page.picture.Width()) / (kept.right - kept.left));
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
    if (!turnPreviewPicture(picture, turns)) {
        return false;
    }
    keepPart(picture, layout, client, crop);
    return true;
}
