// The real main dialog on the headless toolkit, with its preview drawn into the frame's
// surface, and picture files written for it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/CFolvaneDlg.h"
#include "platform/gdi/CSurface.h"
#include "platform/ui/HeadlessDialog.h"
#include "platform/ui/HeadlessToolkit.h"
#include "tests/support/Files.h"

// Files with one colour (0xRRGGBB) all over.
void WriteSolidBmp(const std::string &path, int width, int height, uint32_t rgb);
void WriteSolidTiff(const std::string &path, int width, int height, uint32_t rgb);
void WriteSolidJpeg(const std::string &path, int width, int height, uint32_t rgb);

class PreviewFixture : public ::testing::Test {
protected:
    PreviewFixture();

    HeadlessDialog &Window();
    CSurface &Frame();
    // A path in this test's own scratch folder.
    std::string Path(const std::string &name) const { return dir / name; }
    // True when every pixel of the frame outside rect has the window colour.
    bool OnlyInside(const UiRect &rect);
    // Each colour channel within tolerance of rgb.
    static bool Near(uint32_t actual, uint32_t rgb, int tolerance);

    HeadlessToolkit ui;
    CFolvaneDlg dlg{ui};
    support::TempDir dir;
};
