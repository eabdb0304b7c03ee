// What the crop editor is given for a row's page: the turned picture at the editor's size, the
// rectangle to start from, and the rule a rectangle must keep; and the way back from the
// editor's pixels to the turned picture's full-size pixels, where a crop is kept.
#pragma once

#include <optional>
#include <string>

#include "image/CfImage.h"
#include "pdf/PageGeneration.h"
#include "platform/ui/CropEditing.h"

// The longest side the editor shows the page at.
inline constexpr int kCropEditorSide = 1200;

struct CropPicture {
    RgbPicture page; // the turned picture, reduced to the editor's size
    CfImage turned;  // the same as decoded, which the preview of the cropped page reuses
    int fullWidth = 0;
    int fullHeight = 0; // the turned picture's size in the file's pixels
};

// Loads path's picture turned `quarterTurns` quarter turns clockwise after its own orientation.
// False when the file cannot be read.
bool loadCropPicture(const std::string &path, int quarterTurns, CropPicture &picture);

// The request in the window's language, its rectangle on `crop` (the whole page without one);
// `picture` must outlive it.
CropEditRequest makeCropRequest(const CropPicture &picture,
                                const std::optional<folvane::CropRect> &crop);

// A rectangle of the editor's page as full-size pixels, and back.
folvane::CropRect fullSizeCrop(const CropBox &box, const CropPicture &picture);
CropBox editorCrop(const folvane::CropRect &crop, const CropPicture &picture);

// Why `crop` cannot be kept on the picture (too small, or not inside it), in the window's
// language; empty when it can.
std::string cropRefusal(const folvane::CropRect &crop, const CropPicture &picture);
