// The preview of pictures larger than their place on the page, which it decodes straight to that
// size: ordinary files look as they did when the preview decoded them whole and shrank them
// while drawing; a picture beyond the image library's ceiling is shown instead of refused; a
// file the reduced decode refuses still shows through the full decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/PreviewFit.h"
#include "app/PreviewPicture.h"
#include "image/CfImage.h"
#include "image/ReducedDecode.h"
#include "pdf/PageLayout.h"
#include "platform/gdi/Gdi.h"
#include "tests/app/PreviewFixture.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

constexpr int kFit = 6;
constexpr int kClass2 = 0; // 200万: 0.525 points a pixel, pictures cut at the sheet's edge

// What a camera or scanner gives at the preview's scale: smooth shading, a hard-edged disc and
// sensor noise, all detail far coarser than a frame pixel except the disc's edge and the noise.
support::Picture Scene(int width, int height, int seed) {
    support::Picture picture = support::Blank(width, height, 3);
    uint32_t state = 7u + uint32_t(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width;
            const double fy = double(y) / height;
            const bool disc = std::hypot(fx - 0.6, fy - 0.45) < 0.2;
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 27) - 16;
            const int rgb[3] = {int(128 + 90 * std::sin(fx * 7 + seed) * std::cos(fy * 5)),
                                int(60 + 150 * fy), disc ? 210 : int(70 + 100 * fx)};
            for (int c = 0; c < 3; ++c) {
                picture.At(x, y, c) = uint8_t(std::clamp(rgb[c] + noise, 0, 255));
            }
        }
    }
    return picture;
}

struct Difference {
    double mean = 0;
    double beyond = 0; // the share of samples more than kClose apart
};
constexpr int kClose = 8;

// How far two surfaces differ inside rect, over every colour channel.
Difference Compare(const CSurface &a, const CSurface &b, const UiRect &rect) {
    long total = 0;
    long far = 0;
    long count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int diff = std::abs(int((a.PixelAt(x, y) >> shift) & 0xFF) -
                                          int((b.PixelAt(x, y) >> shift) & 0xFF));
                total += diff;
                far += diff > kClose ? 1 : 0;
                ++count;
            }
        }
    }
    return Difference{count ? double(total) / count : 0, count ? double(far) / count : 0};
}

struct Kind {
    const char *name;
    std::function<void(const std::string &)> write;
    int imageType;
};

class PreviewReduced : public PreviewFixture, public testing::WithParamInterface<Kind> {
protected:
    // The picture inside the sheet as the preview drew it before the reduced decode: the file
    // decoded whole (a large JPEG at the scale the preview chose), turned upright, then shrunk
    // by Draw's area averaging into the page's picture, cut at the sheet. Returns the visible
    // part's rectangle.
    UiRect DrawTheOldWay(const std::string &path, int imageType, CSurface &surface) {
        const UiRect client{0, 0, surface.Width(), surface.Height()};
        const folvane::PageLayout layout = folvane::PageLayout::fromImageType(imageType);
        CfImage image;
        EXPECT_TRUE(image.Load(path.c_str()));
        const auto width = double(image.GetWidth());
        const auto height = double(image.GetHeight());
        const PreviewPage page =
            layOutPreviewPage(client, folvane::placeOnPage(layout, width, height), width, height);
        if (image.GetFormatType() == FormatJpeg) {
            image.info.jpegScale = previewJpegScale(page.picture.Width() / width);
            EXPECT_TRUE(image.Load(path.c_str()));
        }
        HDC dc = GetWindowDC(&surface);
        const RECT sheet{page.sheet.left, page.sheet.top, page.sheet.right, page.sheet.bottom};
        const UiRect &p = page.picture;
        image.Draw(dc, RECT{p.left, p.top, p.right, p.bottom}, &sheet, true, false);
        ReleaseDC(&surface, dc);
        return UiRect{std::max(p.left, page.sheet.left), std::max(p.top, page.sheet.top),
                      std::min(p.right, page.sheet.right), std::min(p.bottom, page.sheet.bottom)};
    }
};

TEST_P(PreviewReduced, OrdinaryFilesLookAsTheyDidWhenDecodedWhole) {
    const Kind &kind = GetParam();
    const std::string path = Path(std::string("picture.") + kind.name);
    kind.write(path);
    dlg.SetImageType(kind.imageType);
    dlg.ShowPreview(path);
    CSurface old(Frame().Width(), Frame().Height());
    const UiRect visible = DrawTheOldWay(path, kind.imageType, old);
    ASSERT_GT(visible.Width(), 50);
    ASSERT_GT(visible.Height(), 50);
    // Both average the same pixels; the old drawing's boxes sit half a frame pixel off the
    // exact ones (and truncate), which changes pixels along sharp edges only.
    const Difference d = Compare(Frame(), old, visible);
    EXPECT_LE(d.mean, 2.0);
    EXPECT_LE(d.beyond, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PreviewReduced,
    testing::Values(Kind{"jpg",
                         [](const std::string &path) {
                             support::WriteFile(path, support::MakeJpeg(Scene(2400, 1800, 0)));
                         },
                         kFit},
                    Kind{"png",
                         [](const std::string &path) {
                             support::WriteFile(
                                 path, support::MakePng(support::PngImageOf(Scene(1190, 1684, 3))));
                         },
                         kFit},
                    Kind{"tif",
                         [](const std::string &path) {
                             support::WriteTiff(path, {support::TiffPageOf(Scene(2000, 1400, 5))});
                         },
                         kClass2}),
    [](const testing::TestParamInfo<Kind> &file) { return std::string(file.param.name); });

using PreviewLarge = PreviewFixture;

TEST_F(PreviewLarge, APictureBeyondTheLibrarysCeilingIsShownNotRefused) {
    // 17000 x 16000 grey pixels, 272 MB: the full decode refuses it.
    support::PngImage image;
    image.width = 17000;
    image.height = 16000;
    image.colour = support::PngColour::Grey;
    support::WritePngInBands(Path("plan.png"), image, [&](uint32_t, uint8_t *row) {
        std::fill(row, row + image.width, uint8_t(90));
    });
    CfImage whole;
    ASSERT_FALSE(whole.Load(Path("plan.png").c_str()));
    dlg.SetImageType(kFit);
    dlg.ShowPreview(Path("plan.png"));
    EXPECT_TRUE(
        Near(Frame().PixelAt(Frame().Width() / 2, Frame().Height() / 2), RgbColor(90, 90, 90), 1));
}

TEST_F(PreviewLarge, AFileTheReducedDecodeRefusesStillShowsThroughTheFullDecode) {
    // A photo cut off after 60% of its data: the full decode shows what there is.
    support::Bytes jpeg = support::MakeJpeg(support::Solid(1600, 1200, RgbColor(200, 40, 40)));
    jpeg.resize(jpeg.size() * 6 / 10);
    support::WriteFile(Path("cut.jpg"), jpeg);
    CfImage reduced;
    ASSERT_FALSE(loadReduced(
        Path("cut.jpg").c_str(),
        [](uint32_t w, uint32_t h) {
            return std::optional<ReducedSize>(reducedSizeWithin(w, h, 100, 100));
        },
        reduced));
    dlg.SetImageType(kFit);
    dlg.ShowPreview(Path("cut.jpg"));
    const CSurface &frame = Frame();
    EXPECT_TRUE(
        Near(frame.PixelAt(frame.Width() / 2, frame.Height() / 2 - 10), RgbColor(200, 40, 40), 6))
        << std::hex << frame.PixelAt(frame.Width() / 2, frame.Height() / 2 - 10);
}

} // namespace
