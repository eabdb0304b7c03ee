#pragma once

#include "pdf/Paper.h"

namespace folvane {

// Scale for a resolution class 0..5 (2, 3, 5, 8, 10 and 16 megapixels; any other value: the
// smallest).
float scaleForImageType(int imageType);

// How a page holds its image: a resolution class (one point per pixel times the class's
// scale, lower-left corner, the paper portrait) or fit (the paper turned like the image, the
// image as large as the page allows, centred). On the paper SameAsImage every page is its
// image's own size at the resolution its file states (72 dpi when it states none), whatever
// the class.
struct PageLayout {
    bool fit = false;
    int imageType = 1; // the resolution class, when not fit
    Paper paper = Paper::A4;

    static PageLayout ofClass(int imageType);
    static PageLayout fitted();
    // The window's choice: 0..5 the classes 200万 .. 1600万, 6 fit ("适应页面").
    static PageLayout fromImageType(int index);
    // This layout on `paper`.
    PageLayout onPaper(Paper chosen) const;
    // True when the page's size depends on its image, so the image is loaded before the page
    // begins.
    bool sizedByImage() const { return fit || paper == Paper::SameAsImage; }
};

// Where one image goes: the page's size and the image's lower-left corner and scale, in points.
struct PagePlacement {
    float pageWidth;
    float pageHeight;
    float x;
    float y;
    float scale;
    double outside; // share (0..1) of the placed image's area beyond the page's edges
};

// Places an image of upright size `uprightWidth` x `uprightHeight` pixels whose file states
// `dpiX` x `dpiY` dots per inch (0: none stated; only SameAsImage asks). A size that is not
// positive places nothing beyond the page (scale 1, nothing outside).
PagePlacement placeOnPage(const PageLayout &layout, double uprightWidth, double uprightHeight,
                          double dpiX = 0, double dpiY = 0);

// Places a page document correction made: a sheet of known size (its paper, or its own shape)
// rather than a photo, so whatever the layout its page is the sheet, `sheetWidth` x
// `sheetHeight` points, and the image fills it. Sizes that are not positive fall back to
// placeOnPage with `layout`.
PagePlacement placeSheet(const PageLayout &layout, double sheetWidth, double sheetHeight,
                         double uprightWidth, double uprightHeight);

} // namespace folvane
