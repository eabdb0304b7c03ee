#include "tests/app/PreviewFixture.h"

#include <cstdlib>

#include "app/Resource.h"
#include "tests/support/Bmp.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Tiff.h"

void WriteSolidBmp(const std::string &path, int width, int height, uint32_t rgb) {
    support::WriteFile(path,
                       support::MakeBmp(support::BmpFileOf(support::Solid(width, height, rgb))));
}

void WriteSolidTiff(const std::string &path, int width, int height, uint32_t rgb) {
    support::WriteTiff(path, {support::TiffPageOf(support::Solid(width, height, rgb))});
}

void WriteSolidJpeg(const std::string &path, int width, int height, uint32_t rgb) {
    support::JpegOptions options;
    options.quality = 95;
    support::WriteFile(path, support::MakeJpeg(support::Solid(width, height, rgb), options));
}

PreviewFixture::PreviewFixture() {
    ui.icons = {IDR_MAINFRAME};
    dlg.Create();
}

HeadlessDialog &PreviewFixture::Window() {
    return *ui.Dialog(IDD_FOLVANE_DIALOG);
}

CSurface &PreviewFixture::Frame() {
    return *Window().Wnd(IDC_PREVIEW_FRAME)->Surface();
}

bool PreviewFixture::OnlyInside(const UiRect &rect) {
    CSurface &frame = Frame();
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            const bool inside =
                x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            if (!inside && frame.PixelAt(x, y) != kWindowColor) {
                return false;
            }
        }
    }
    return true;
}

bool PreviewFixture::Near(uint32_t actual, uint32_t rgb, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = (actual >> shift) & 0xFF;
        const int e = (rgb >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance) {
            return false;
        }
    }
    return true;
}
