#include "app/PreviewFit.h"

UiRect FitPreview(const UiRect &client, uint32_t imageWidth, uint32_t imageHeight) {
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
