// The picture the preview shows on its page, loaded upright. A picture larger than the
// rectangle the page gives it is decoded straight to that rectangle's size, only the part
// inside the sheet (image/ReducedDecode.h); any other, or one the reduced decode refuses, is
// loaded whole as before (large JPEGs at a reduced scale that still leaves at least twice the
// pixels the page shows of it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/PreviewFit.h"
#include "image/CfImage.h"
#include "pdf/PageGeneration.h"
#include "pdf/PageLayout.h"

struct PreviewPicture {
    CfImage image;
    // The size in pixels of what the PDF places (the turned picture, or its crop), whatever
    // scale the preview decoded it at.
    double uprightWidth = 0;
    double uprightHeight = 0;
    // Where the image goes in the frame when it is only the visible part of the page's picture,
    // at one frame pixel each (a reduced decode), or the whole turned picture of a cropped page,
    // reaching past the crop; otherwise the image is drawn, scaled, into the page's picture.
    // The page's picture and its sheet clip it either way.
    std::optional<UiRect> part;
};

// Loads path for a page of `layout` drawn into client, turned `quarterTurns` quarter turns
// clockwise after its own orientation, and showing only `crop` of the turned picture (a crop
// that no longer fits the file is left out: the whole page is shown). False when the file
// cannot be read (the picture is then empty).
bool loadPreviewPicture(const std::string &path, const folvane::PageLayout &layout,
                        const UiRect &client, PreviewPicture &picture, int quarterTurns = 0,
                        const std::optional<folvane::CropRect> &crop = std::nullopt);

// Makes a whole turned picture (one without a `part`, its upright size set) show only `crop` of
// it, as LoadPreviewPicture does: the page is laid out for the part kept and the picture is
// drawn around it. A crop that does not fit leaves the whole picture shown.
void keepCropPart(PreviewPicture &picture, const folvane::PageLayout &layout, const UiRect &client,
                  const std::optional<folvane::CropRect> &crop);

// A page's turned picture decoded whole at a reduced size, standing for fullWidth x fullHeight
// pixels: the crop editor's, from which the preview of the page it has just cropped is made
// without decoding the file again.
struct WholePicture {
    std::string path;
    int quarterTurns = 0;
    CfImage image;
    int fullWidth = 0;
    int fullHeight = 0;
};

// The preview of `crop` of `whole`, as LoadPreviewPicture would give it; false (picture left as
// it was) when the kept part has fewer of whole's pixels than the page shows of it, where only a
// finer decode of the file looks right.
bool previewFromWhole(const WholePicture &whole, const folvane::PageLayout &layout,
                      const UiRect &client, const std::optional<folvane::CropRect> &crop,
                      PreviewPicture &picture);

// Turns a whole picture (one without a `part`) `quarterTurns` quarter turns clockwise, its
// upright size with it. False when memory runs out.
bool turnPreviewPicture(PreviewPicture &picture, int quarterTurns);

// The JPEG scale denominator (1, 2, 4 or 8) for a picture whose pixels are drawn at `shown`
// frame pixels each: the largest that keeps two decoded pixels for every one shown.
uint8_t previewJpegScale(double shown);
