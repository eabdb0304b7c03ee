// Creating, selecting and destroying device contexts and bitmaps.
#include "platform/gdi/Gdi.h"

#include <new>

HDC GetWindowDC(CSurface *window) {
    if (!window) {
        return nullptr;
    }
    HDC dc = new (std::nothrow) CDC(window, window->AttachedCallLog());
    if (dc) {
        window->NoteDCOpened();
    }
    return dc;
}

int ReleaseDC(CSurface *window, HDC dc) {
    if (!window || !dc || dc->Window() != window) {
        return 0;
    }
    window->NoteDCReleased();
    delete dc;
    return 1;
}

HDC CreateCompatibleDC(HDC dc) {
    std::shared_ptr<CallLog> log;
    if (dc) {
        dc->Log().Add("CreateCompatibleDC", {});
        log = dc->SharedLog();
    }
    auto stock = CBitmap::CreateStock();
    if (!stock) {
        return nullptr;
    }
    return new (std::nothrow) CDC(std::move(stock), std::move(log));
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO *info, uint32_t usage, void **bits) {
    if (bits) {
        *bits = nullptr;
    }
    if (!info || usage != DIB_RGB_COLORS) {
        return nullptr;
    }
    if (dc) {
        dc->Log().Add("CreateDIBSection", {info->bmiHeader.biWidth, info->bmiHeader.biHeight,
                                           info->bmiHeader.biBitCount});
    }
    HBITMAP bitmap = CBitmap::CreateSection(info->bmiHeader).release();
    if (bitmap && bits) {
        *bits = bitmap->Bits();
    }
    return bitmap;
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    if (!dc || !bitmap || !dc->IsMemory()) {
        return nullptr;
    }
    dc->Log().Add("SelectObject", {bitmap->Header().biWidth, bitmap->Header().biHeight});
    if (bitmap->SelectedInto() && bitmap->SelectedInto() != dc) {
        return nullptr;
    }
    return dc->Select(bitmap);
}

bool DeleteObject(HBITMAP bitmap) {
    if (!bitmap || bitmap->SelectedInto()) {
        return false;
    }
    delete bitmap;
    return true;
}

bool DeleteDC(HDC dc) {
    if (!dc || !dc->IsMemory()) {
        return false;
    }
    dc->Log().Add("DeleteDC", {});
    delete dc;
    return true;
}
