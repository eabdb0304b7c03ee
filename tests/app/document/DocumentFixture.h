// Desk photos for the window's document correction, written into the test's folder.
#pragma once

#include <string>

#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Files.h"

// A sheet of A4 with black text, turned and seen at a slant on a dark desk, or the desk alone;
// 1200 x 900.
desk::ShotSpec DeskShot(bool withSheet);

// Writes the photo of spec as dir/name; its truth.
desk::DeskPhoto WriteDeskPhoto(const support::TempDir &dir, const std::string &name,
                               const desk::ShotSpec &spec);

// Share of the surface's pixels that are dark: the desk around a sheet is, a corrected page
// holds only its ink.
double DarkShare(const class CSurface &surface);
