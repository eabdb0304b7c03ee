#include "tests/app/document/DocumentFixture.h"

#include "platform/gdi/CSurface.h"

desk::ShotSpec DeskShot(bool withSheet) {
    desk::ensureGuiApplication();
    desk::ShotSpec spec;
    spec.desk = desk::Desk::DarkWood;
    spec.seed = 3;
    spec.width = 1200;
    spec.height = 900;
    spec.sheet = withSheet;
    spec.rotationDegrees = 8;
    spec.page.dpi = 100;
    spec.page.seal = false; // black text alone: the corrected page is one bilevel image
    return spec;
}

desk::DeskPhoto WriteDeskPhoto(const support::TempDir &dir, const std::string &name,
                               const desk::ShotSpec &spec) {
    desk::DeskPhoto photo = desk::makeDeskPhoto(spec);
    support::WriteFile(dir / name, photo.jpeg);
    return photo;
}

double DarkShare(const CSurface &surface) {
    long dark = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const uint32_t rgb = surface.PixelAt(x, y);
            const int luminance =
                (299 * (rgb >> 16 & 0xFF) + 587 * (rgb >> 8 & 0xFF) + 114 * (rgb & 0xFF)) / 1000;
            dark += luminance < 120;
        }
    }
    const long all = long(surface.Width()) * surface.Height();
    return all > 0 ? double(dark) / all : 0;
}
