// Photos and scans of pages whose truth is known, for the correction tests and benchmarks: a
// page of known text (Chinese and English lines, a table, a red seal) drawn flat with Qt, then
// put into a camera's view on a desk, or tilted on a scanner's glass, with light fall-off,
// shadows, a colour cast, blur, noise and JPEG compression. Everything is seeded: the same
// spec gives the same pixels. Needs a Qt GUI application (ensureGuiApplication() starts one on
// the offscreen platform).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tests/support/Bytes.h"
#include "tests/support/Picture.h"

namespace desk {

enum class Paper { A4, A5, B5, Letter };
enum class Desk { PaleTable, PatternedCloth, ClutteredDesk, DarkWood, GreyStone };

const char *paperName(Paper paper);
const char *deskName(Desk desk);

struct PageSpec {
    Paper paper = Paper::A4;
    double dpi = 100;
    bool seal = true;         // a red company seal over the signature line
    bool colourMarks = false; // blue ink signature and a yellow highlighter stroke
    unsigned textSeed = 0;    // which sentences
};

struct Point {
    double x = 0;
    double y = 0;
};
// Top-left, top-right, bottom-right, bottom-left; pixels of the upright picture with (0, 0)
// the centre of the top-left pixel.
using Corners = std::array<Point, 4>;

// The flat page: RGB, white paper, black text and table, and the seal when asked.
support::Picture drawPage(const PageSpec &spec);

// The page's title and lines of text as drawn, top to bottom: from 20 mm to 100 mm below the
// paper's top edge, 20 mm from its left edge.
std::vector<std::string> pageLines(const PageSpec &spec);

struct ShotSpec {
    Desk desk = Desk::PaleTable;
    unsigned seed = 1;
    int width = 1600; // the upright photo
    int height = 1200;
    bool sheet = true;             // false: the desk alone, no page in the photo
    double rotationDegrees = 10;   // the sheet turned on the desk, clockwise
    double keystone = 0.1;         // 1 - top edge / bottom edge
    double fill = 0.6;             // share of the photo the sheet covers
    double falloff = 0.25;         // light lost towards the photo's corners
    bool shadow = true;            // a soft shadow on the sheet
    bool shadowAcrossEdge = false; // ... reaching over one of its edges onto the desk
    double cast = 1;               // strength of a lamp's yellow cast, 0 none
    double blurSigma = 0.7;
    double noiseSigma = 2.5;
    int jpegQuality = 88;
    int orientation = 1; // EXIF orientation the JPEG is written with
    PageSpec page;
};

struct DeskPhoto {
    ShotSpec spec;
    support::Picture upright; // as a viewer shows the photo
    support::Picture stored;  // the rows as the JPEG stores them
    support::Bytes jpeg;      // `stored`, with an EXIF orientation segment
    bool hasSheet = false;
    Corners corners{}; // where the page's corners lie in `upright`
    support::Picture flatPage;
    double keystone = 0; // measured: 1 - top edge / bottom edge
    double fill = 0;     // measured share of the photo
};

DeskPhoto makeDeskPhoto(const ShotSpec &spec);

struct ScanSpec {
    unsigned seed = 1;
    double angleDegrees = 5; // the page lies turned clockwise on the glass
    double dpi = 150;
    bool darkBorder = true; // the scanner's dark lid around the page
    PageSpec page;
};

struct Scan {
    support::Picture picture; // RGB, upright
    Corners corners{};        // the page's corners in it
    double angleDegrees = 0;
    support::Picture flatPage;
};

Scan makeScan(const ScanSpec &spec);

// A varied set of photos: every desk, turned up to 30 degrees, keystone up to 20%, sheets
// covering 40% to 90% of the photo (the more turned, the less), shadows over edges, EXIF
// orientations; photos of desks without a page; `count` shots in all, all of `width` x `height`
// (landscape; portrait ones swap the two).
std::vector<ShotSpec> variedShots(int count, int width, int height, unsigned seed);

// The seeded noise the effects use, for anything else that needs reproducible randomness.
class Random {
public:
    explicit Random(unsigned seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t next();
    double uniform(double low, double high); // [low, high)
    double normal();                         // mean 0, deviation 1

private:
    uint64_t state_;
};

void ensureGuiApplication();

} // namespace desk
