#include "app/PreviewFit.h"

#include <algorithm>
#include <cmath>

namespace {

// Frame pixels are small integers; a picture placed far beyond the page (a class scale on a
// huge picture) is held to a range where its rectangle still converts safely.
int toPixel(double value) {
    return static_cast<int>(std::lround(std::clamp(value, -1e7, 1e7)));
}

} // namespace

UiRect fitPreview(const UiRect &client, uint32_t imageWidth, uint32_t imageHeight) {
    const double frameWidth = client.right - client.left;
    const double frameHeight = client.bottom - client.top;
    const double width = imageWidth;
    const double height = imageHeight;
    UiRect fitted = client;
    // Every value below stays within the frame's extent (the branch taken bounds the scaled
    // side by the frame's), so the conversions back to int cannot overflow.
    if (frameWidth / frameHeight > width / height) {
        fitted.left =
            static_cast<int>(client.left + (frameWidth - frameHeight * (width / height)) / 2);
        fitted.right = static_cast<int>(fitted.left + frameHeight * (width / height));
        fitted.bottom = static_cast<int>(client.top + frameHeight);
    } else {
        fitted.top =
            static_cast<int>(client.top + (frameHeight - frameWidth * (height / width)) / 2);
        fitted.right = static_cast<int>(client.left + frameWidth);
        fitted.bottom = static_cast<int>(fitted.top + frameWidth * (height / width));
    }
    return fitted;
}

PreviewPage layOutPreviewPage(const UiRect &client, const folvane::PagePlacement &placement,
                              double uprightWidth, double uprightHeight) {
    const UiRect room{client.left + kPreviewSheetMargin, client.top + kPreviewSheetMargin,
                      client.right - kPreviewSheetMargin, client.bottom - kPreviewSheetMargin};
    PreviewPage page;
    if (room.Width() <= 0 || room.Height() <= 0) {
        return page;
    }
    page.sheet = fitPreview(room, static_cast<uint32_t>(placement.pageWidth),
                            static_cast<uint32_t>(placement.pageHeight));
    // Frame pixels per point, across and down; page y counts up from the bottom edge.
    const double across = page.sheet.Width() / double(placement.pageWidth);
    const double down = page.sheet.Height() / double(placement.pageHeight);
    const double left = placement.x;
    const double bottom = placement.y;
    const double right = left + uprightWidth * placement.scale;
    const double top = bottom + uprightHeight * placement.scale;
    page.picture.left = page.sheet.left + toPixel(left * across);
    page.picture.right = page.sheet.left + toPixel(right * across);
    page.picture.top = page.sheet.bottom - toPixel(top * down);
    page.picture.bottom = page.sheet.bottom - toPixel(bottom * down);
    return page;
}
