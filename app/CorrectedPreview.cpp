#include "app/CorrectedPreview.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// Enough decoded pixels for a page drawn at the frame's size, and the frame's size twice over
// for a larger page; more only costs time, the preview shrinks it again.
constexpr uint32_t kLeastSide = 800;
constexpr uint32_t kMostSide = 1600;
constexpr uint32_t kSideStep = 400;

// Between an open book's two pages.
constexpr uint8_t kGapGrey = 160;

// The background's pixel under page pixel (x, y), or white for a page of ink alone.
const uint8_t *backgroundAt(const folvane::correction::CorrectedPage &page, int x, int y) {
    static const uint8_t kWhite[3] = {255, 255, 255};
    if (page.background.empty() || page.backgroundWidth <= 0 || page.backgroundHeight <= 0) {
        return kWhite;
    }
    const int bx = std::min(page.backgroundWidth - 1, x * page.backgroundWidth / page.width);
    const int by = std::min(page.backgroundHeight - 1, y * page.backgroundHeight / page.height);
    const std::size_t at = (std::size_t(by) * page.backgroundWidth + bx) * 3;
    return at + 3 <= page.background.size() ? page.background.data() + at : kWhite;
}

// Black ink over the background, RGB; a page in tones is its grey, or its colour, alone.
void compose(const folvane::correction::CorrectedPage &page, CorrectedPicture &picture) {
    picture.width = page.width;
    picture.height = page.height;
    picture.rgb.assign(std::size_t(page.width) * page.height * 3, 0);
    const bool greyTones = page.softText && page.background.empty() &&
                           page.grey.size() >= std::size_t(page.width) * page.height;
    for (int y = 0; y < page.height; ++y) {
        const uint8_t *ink = page.ink.data() + page.inkRowBytes * y;
        const uint8_t *grey = greyTones ? page.grey.data() + std::size_t(y) * page.width : nullptr;
        uint8_t *out = picture.rgb.data() + std::size_t(y) * page.width * 3;
        for (int x = 0; x < page.width; ++x) {
            if (grey) {
                std::fill(out + 3 * x, out + 3 * x + 3, grey[x]);
                continue;
            }
            if (!page.softText && ((ink[x / 8] >> (7 - x % 8)) & 1)) {
                continue; // stays black
            }
            const uint8_t *paper = backgroundAt(page, x, y);
            std::copy(paper, paper + 3, out + 3 * x);
        }
    }
}

// The page as the preview's picture: bottom-up blue-green-red rows, and the size the PDF
// places.
bool imageOf(const CorrectedPicture &page, PreviewPicture &picture) {
    CfImage &image = picture.image;
    if (!image.Create(uint32_t(page.width), uint32_t(page.height), 24)) {
        return false;
    }
    for (int y = 0; y < page.height; ++y) {
        const uint8_t *source = page.rgb.data() + std::size_t(y) * page.width * 3;
        uint8_t *target = image.RowPointer(uint32_t(page.height - 1 - y));
        for (int x = 0; x < page.width; ++x) {
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }
    picture.uprightWidth = page.fullWidth;
    picture.uprightHeight = page.fullHeight;
    picture.part.reset();
    return true;
}

// Whether `corrected` is a page the PDF would get corrected, its pixels all there.
bool usable(const folvane::correction::CorrectedPage &corrected) {
    if (corrected.failure || corrected.width <= 0 || corrected.height <= 0 ||
        corrected.ink.size() < corrected.inkRowBytes * std::size_t(corrected.height) ||
        corrected.inkRowBytes < std::size_t(corrected.width + 7) / 8) {
        return false;
    }
    return !corrected.facts.plain &&
           (corrected.facts.found ||
            corrected.facts.treatedAs != folvane::correction::SourceKind::Photo);
}

// An open book's two pages side by side, in reading order from the left, a strip of the
// frame's grey between them so that they read as two sheets.
CorrectedPicture sideBySide(const CorrectedPicture &first, const CorrectedPicture &second) {
    const int gap = std::max(4, first.width / 40);
    CorrectedPicture both;
    both.width = first.width + gap + second.width;
    both.height = std::max(first.height, second.height);
    both.rgb.assign(std::size_t(both.width) * both.height * 3, kGapGrey);
    const auto copy = [&both](const CorrectedPicture &page, int left) {
        for (int y = 0; y < page.height; ++y) {
            const uint8_t *row = page.rgb.data() + std::size_t(y) * page.width * 3;
            std::copy(row, row + std::size_t(page.width) * 3,
                      both.rgb.data() + (std::size_t(y) * both.width + left) * 3);
        }
    };
    copy(first, 0);
    copy(second, first.width + gap);
    both.fullWidth = first.fullWidth + second.fullWidth + gap * first.fullWidth / first.width;
    both.fullHeight = std::max(first.fullHeight, second.fullHeight);
    return both;
}

} // namespace

bool correctForPreview(const CorrectionPixels &pixels,
                       const std::optional<folvane::SheetCorners> &hand, CorrectedPicture &page,
                       const BookChoice &book) {
    folvane::correction::Picture picture = pixels.picture();
    if (hand) {
        picture.corners = toPixels(*hand, pixels);
    }
    picture.splitSpreads = book.split;
    picture.rightToLeft = book.rightToLeft;
    const std::vector<folvane::correction::CorrectedPage> corrected =
        folvane::correction::correctPages(picture);
    if (!std::all_of(corrected.begin(), corrected.end(), usable)) {
        return false;
    }
    std::vector<CorrectedPicture> pages(corrected.size());
    for (std::size_t i = 0; i < corrected.size(); ++i) {
        compose(corrected[i], pages[i]);
        // The page grows with the picture it is cut from: the full-size file gives a page
        // larger by the scale it was decoded at.
        pages[i].fullWidth = corrected[i].width * pixels.scaleX();
        pages[i].fullHeight = corrected[i].height * pixels.scaleY();
    }
    // Shown as the book lies open: the left page on the left whichever is read first.
    if (pages.size() == 2) {
        page = book.rightToLeft ? sideBySide(pages[1], pages[0]) : sideBySide(pages[0], pages[1]);
    } else {
        page = std::move(pages.front());
    }
    return true;
}

uint32_t correctionSideFor(const UiRect &client) {
    const uint32_t frame = uint32_t(std::max(0, std::max(client.Width(), client.Height())));
    const uint32_t wanted = std::clamp(2 * frame, kLeastSide, kMostSide);
    return (wanted + kSideStep - 1) / kSideStep * kSideStep;
}

bool CorrectedPreviewCache::load(const std::string &path,
                                 const std::optional<folvane::SheetCorners> &hand,
                                 const BookChoice &book, const UiRect &client,
                                 PreviewPicture &picture) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        key_.reset();
        return false;
    }
    const Key key{path,
                  hand,
                  book,
                  correctionSideFor(client),
                  static_cast<long long>(modified.time_since_epoch().count()),
                  static_cast<long long>(size)};
    if (key_ != key) {
        key_ = key;
        CorrectionPixels pixels;
        corrected_ = decodeForCorrection(path, key.side, pixels) &&
                     correctForPreview(pixels, hand, page_, book);
    }
    return corrected_ && imageOf(page_, picture);
}
