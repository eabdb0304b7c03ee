// Clip regions, save levels and window contexts of the software device context.
#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace {

struct WindowDC {
    explicit WindowDC(int32_t w, int32_t h) : surface(w, h), dc(GetWindowDC(&surface)) {}
    ~WindowDC() { ReleaseDC(&surface, dc); }
    CSurface surface;
    HDC dc;
};

void Combine(HDC dc, RECT r, int mode) {
    HRGN region = CreateRectRgnIndirect(&r);
    ExtSelectClipRgn(dc, region, mode);
    DeleteObject(region);
}

TEST(GdiClip, WholeSurfaceUntilNarrowed) {
    WindowDC w(40, 30);
    RECT box{};
    EXPECT_EQ(GetClipBox(w.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 40, 30}));

    Combine(w.dc, RECT{-10, 5, 20, 100}, RGN_AND);
    EXPECT_EQ(GetClipBox(w.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 5, 20, 30}));

    Combine(w.dc, RECT{25, 0, 30, 10}, RGN_OR);
    EXPECT_EQ(GetClipBox(w.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 30, 30}));
    EXPECT_TRUE(w.dc->ClipRegion().Contains(27, 2));
    EXPECT_FALSE(w.dc->ClipRegion().Contains(22, 2));

    Combine(w.dc, RECT{100, 100, 120, 120}, RGN_AND);
    EXPECT_EQ(GetClipBox(w.dc, &box), NULLREGION);
    EXPECT_EQ(box, (RECT{0, 0, 0, 0}));
}

TEST(GdiClip, AreaComparisonIgnoresHowRectanglesAreCut) {
    CRgn whole(RECT{0, 0, 10, 10});
    CRgn halves(RECT{0, 0, 10, 5});
    halves.UniteWith(CRgn(RECT{0, 5, 10, 10}));
    EXPECT_TRUE(whole.SameArea(halves));
    EXPECT_EQ(halves.Kind(), SIMPLEREGION);
    halves.IntersectWith(CRgn(RECT{0, 0, 10, 9}));
    EXPECT_FALSE(whole.SameArea(halves));
}

TEST(GdiSave, RestoreBringsBackClipAndStretchMode) {
    WindowDC w(50, 50);
    Combine(w.dc, RECT{10, 10, 40, 40}, RGN_AND);
    EXPECT_EQ(SetStretchBltMode(w.dc, HALFTONE), BLACKONWHITE);
    const CRgn before = w.dc->ClipRegion();

    EXPECT_EQ(SaveDC(w.dc), 1);
    Combine(w.dc, RECT{0, 0, 15, 15}, RGN_AND);
    SetStretchBltMode(w.dc, COLORONCOLOR);
    EXPECT_EQ(SaveDC(w.dc), 2);
    Combine(w.dc, RECT{0, 0, 50, 50}, RGN_COPY);

    EXPECT_TRUE(RestoreDC(w.dc, -1));
    EXPECT_TRUE(w.dc->ClipRegion().SameArea(CRgn(RECT{10, 10, 15, 15})));
    EXPECT_TRUE(RestoreDC(w.dc, 1));
    EXPECT_TRUE(w.dc->ClipRegion().SameArea(before));
    EXPECT_EQ(w.dc->StretchMode(), HALFTONE);
    EXPECT_EQ(w.dc->SaveLevel(), 0);
    EXPECT_FALSE(RestoreDC(w.dc, 1));
    EXPECT_FALSE(RestoreDC(w.dc, -1));
}

TEST(GdiWindowDC, ReleasedOnlyByItsOwnWindowAndLogsToAttachedLog) {
    CSurface frame(20, 10);
    CSurface other(20, 10);
    auto log = std::make_shared<CallLog>();
    frame.AttachCallLog(log);
    HDC dc = GetWindowDC(&frame);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(frame.OpenDCs(), 1);
    EXPECT_EQ(ReleaseDC(&other, dc), 0);
    SaveDC(dc);
    EXPECT_EQ(ReleaseDC(&frame, dc), 1);
    EXPECT_EQ(frame.OpenDCs(), 0);
    EXPECT_EQ(log->Names(), std::vector<std::string>{"SaveDC"});
}

TEST(GdiNullArguments, FailWithoutEffect) {
    RECT box{};
    EXPECT_EQ(SaveDC(nullptr), 0);
    EXPECT_FALSE(RestoreDC(nullptr, 1));
    EXPECT_EQ(GetClipBox(nullptr, &box), RGN_ERROR);
    EXPECT_EQ(ExtSelectClipRgn(nullptr, nullptr, RGN_AND), RGN_ERROR);
    EXPECT_EQ(GetWindowDC(nullptr), nullptr);
    EXPECT_EQ(CreateRectRgnIndirect(nullptr), nullptr);
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_EQ(SetDIBitsToDevice(nullptr, 0, 0, 1, 1, 0, 0, 0, 1, nullptr, nullptr, 0), 0);
}

TEST(GdiSurface, RejectsSizesBeyondTheCeiling) {
    CSurface negative(-1, 10);
    EXPECT_EQ(negative.Width(), 0);
    CSurface huge(1 << 20, 1 << 20);
    EXPECT_EQ(huge.Width(), 0);
    EXPECT_EQ(huge.Height(), 0);
    CSurface fresh(3, 2);
    EXPECT_EQ(fresh.PixelAt(2, 1), kWindowColor);
    EXPECT_EQ(fresh.PixelAt(3, 1), 0u);
}

} // namespace
