// CfImage alpha channel: width * height bytes, rows bottom-up, 255 = opaque.

#include "image/CfImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "image/SafeSize.h"

namespace {

// Bytes of the alpha plane of an image of this size; 0 when the size is empty or the plane
// would pass the memory ceiling (the header may hold dimensions that were never allocated).
size_t PlaneBytes(uint32_t width, uint32_t height) {
    const auto bytes = SafeSize::mul(width, height);
    if (!bytes || *bytes > CFIMAGE_MAX_MEMORY) {
        return 0;
    }
    return *bytes;
}

} // namespace

bool CfImage::CreateAlphaChannel() {
    // A view shares its source's channel and may not give it one of its own (nothing would
    // free it).
    if (alpha || IsView()) {
        return alpha != nullptr;
    }
    const size_t bytes = PlaneBytes(GetWidth(), GetHeight());
    if (bytes == 0) {
        return false;
    }
    alpha = static_cast<uint8_t *>(malloc(bytes));
    if (alpha) {
        memset(alpha, 255, bytes);
    }
    return alpha != nullptr;
}

void CfImage::DeleteAlphaChannel() {
    // A view only lets go of the shared channel; its source still owns it.
    if (!IsView()) {
        free(alpha);
    }
    alpha = nullptr;
}

void CfImage::InvertAlphaChannel() {
    if (!alpha) {
        return;
    }
    const size_t bytes = PlaneBytes(GetWidth(), GetHeight());
    for (size_t i = 0; i < bytes; ++i) {
        alpha[i] = static_cast<uint8_t>(255 - alpha[i]);
    }
}

void CfImage::PutAlpha(int32_t x, int32_t y, uint8_t value) {
    if (alpha && Contains(x, y)) {
        alpha[size_t(x) + size_t(y) * GetWidth()] = value;
    }
}

uint8_t CfImage::AlphaAtUnguarded(int32_t x, int32_t y) const {
    return alpha[size_t(x) + size_t(y) * GetWidth()];
}

uint8_t *CfImage::AlphaPointer(int32_t x, int32_t y) const {
    if (!alpha || !Contains(x, y)) {
        return nullptr;
    }
    return alpha + size_t(x) + size_t(y) * GetWidth();
}

bool CfImage::FlipAlphaChannel() {
    if (!alpha) {
        return false;
    }
    const size_t width = GetWidth();
    const size_t height = GetHeight();
    uint8_t *scratch = static_cast<uint8_t *>(malloc(std::max<size_t>(width, 1)));
    if (!scratch) {
        return false;
    }
    for (size_t top = 0, bottom = height ? height - 1 : 0; top < bottom; ++top, --bottom) {
        uint8_t *a = alpha + top * width;
        uint8_t *b = alpha + bottom * width;
        memcpy(scratch, a, width);
        memcpy(a, b, width);
        memcpy(b, scratch, width);
    }
    free(scratch);
    return true;
}

bool CfImage::MirrorAlphaChannel() {
    // Replacing the buffer of a view would free memory its source owns.
    if (!alpha || IsView()) {
        return false;
    }
    const size_t width = GetWidth();
    const size_t height = GetHeight();
    uint8_t *mirrored = static_cast<uint8_t *>(malloc(std::max<size_t>(width * height, 1)));
    if (!mirrored) {
        return false;
    }
    for (size_t y = 0; y < height; ++y) {
        const uint8_t *from = alpha + y * width;
        uint8_t *to = mirrored + y * width;
        std::reverse_copy(from, from + width, to);
    }
    free(alpha);
    alpha = mirrored;
    return true;
}
