// The page document correction makes of a photo, for the preview: the file decoded at the size
// the preview needs, corrected (by its detected sheet or the corners placed by hand) and drawn
// as ink over its background.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/CorrectionPixels.h"
#include "app/PreviewPicture.h"
#include "pdf/PageGeneration.h"

struct CorrectedPicture {
    std::vector<uint8_t> rgb; // 3 bytes a pixel, top row first
    int width = 0;
    int height = 0;
    // The corrected page of the full-size file, in its pixels: what the PDF places.
    double fullWidth = 0;
    double fullHeight = 0;
};

// Whether a photo of an open book is shown as the book's two pages, and which is read first.
struct BookChoice {
    bool split = false;
    bool rightToLeft = false;
    bool operator==(const BookChoice &) const = default;
};

// Corrects `pixels` by `hand` (full-size pixels) or, without them, by the sheet it finds; an
// open book split by `book` gives its two pages side by side, as the book lies open.
// False when the page would go into the PDF uncorrected: no sheet in a photo, or a picture the
// correction refuses.
bool correctForPreview(const CorrectionPixels &pixels,
                       const std::optional<folvane::SheetCorners> &hand, CorrectedPicture &page,
                       const BookChoice &book = {});

// The long side a picture is decoded at for correcting it in a frame of `client`'s size: one
// of a few steps, so that a window being resized does not correct the page at every size.
uint32_t correctionSideFor(const UiRect &client);

// The corrected page of a file as the preview draws it (the whole picture, scaled). The last
// page made is kept and used again while the file, its corners and the decoded size are the
// same, so that clicking a class, a row and back, or resizing the window, costs no correction.
class CorrectedPreviewCache {
public:
    // False when the file cannot be decoded or the page goes in uncorrected: the plain preview
    // then applies.
    bool load(const std::string &path, const std::optional<folvane::SheetCorners> &hand,
              const BookChoice &book, const UiRect &client, PreviewPicture &picture);

private:
    struct Key {
        std::string path;
        std::optional<folvane::SheetCorners> hand;
        BookChoice book;
        uint32_t side = 0;
        long long modified = 0; // the file's change time and size: a changed file is new
        long long size = -1;
        bool operator==(const Key &) const = default;
    };
    std::optional<Key> key_;
    bool corrected_ = false;
    CorrectedPicture page_;
};
