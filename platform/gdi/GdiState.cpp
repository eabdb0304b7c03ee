// Save levels, clip regions and the stretch mode of a device context.
#include "platform/gdi/Gdi.h"

int SaveDC(HDC dc) {
    if (!dc) {
        return 0;
    }
    const int level = dc->Save();
    dc->Log().Add("SaveDC", {level});
    return level;
}

bool RestoreDC(HDC dc, int level) {
    if (!dc) {
        return false;
    }
    dc->Log().Add("RestoreDC", {level});
    return dc->Restore(level);
}

int GetClipBox(HDC dc, RECT *box) {
    if (!dc || !box) {
        return RGN_ERROR;
    }
    const CRgn region = dc->DrawableRegion();
    *box = region.Box();
    dc->Log().Add("GetClipBox", {box->left, box->top, box->right, box->bottom});
    return region.Kind();
}

int SetStretchBltMode(HDC dc, int mode) {
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) {
        return 0;
    }
    dc->Log().Add("SetStretchBltMode", {mode});
    const int previous = dc->StretchMode();
    dc->SetStretchMode(mode);
    return previous;
}

HRGN CreateRectRgnIndirect(const RECT *rect) {
    if (!rect) {
        return nullptr;
    }
    return new CRgn(*rect);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    if (!dc || (!region && mode != RGN_COPY)) {
        return RGN_ERROR;
    }
    dc->Log().Add("ExtSelectClipRgn", {mode});
    CRgn clip = dc->ClipRegion();
    switch (mode) {
    case RGN_AND:
        clip.IntersectWith(*region);
        break;
    case RGN_OR:
        clip.UniteWith(*region);
        break;
    case RGN_COPY:
        if (region) {
            clip = *region;
        } else if (CSurface *surface = dc->Surface()) {
            clip = CRgn(surface->Bounds());
        }
        break;
    default:
        return RGN_ERROR;
    }
    dc->SetClipRegion(std::move(clip));
    return dc->ClipRegion().Kind();
}

bool DeleteObject(HRGN region) {
    delete region;
    return region != nullptr;
}
