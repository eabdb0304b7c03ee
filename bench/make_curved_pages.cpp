// Writes photos of pages that are not flat, for the curved-page benchmark: book pages bending
// into their gutter and sheets curling at one edge (tests/deskphoto/BentPage.h draws and
// photographs them), beside each the same page lying flat in the same place, and the page's lines
// of text as drawn; and open books, the same page on the left of a spread with another on its
// right, both bent into the gutter, with the right one lying flat on its own.
//
//     make_curved_pages FOLDER [PAGES]     (default 8: curved-01.jpg, flat-01.jpg, lines-01.txt,
//     spread-01.jpg, flatright-01.jpg, lines-01-right.txt, ...)
//
// The same arguments always give the same files.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QImage>

#include "tests/deskphoto/BentPage.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr double kPi = 3.14159265358979;

desk::BentShape shapeOf(int index, desk::Random &random) {
    desk::BentShape shape;
    shape.curl = index % 3 == 2;
    shape.towardsLeft = index % 2 == 0;
    shape.share = shape.curl ? random.uniform(0.2, 0.35) : random.uniform(0.3, 0.5);
    shape.angle = (shape.curl ? random.uniform(35, 55) : random.uniform(45, 65)) * kPi / 180;
    return shape;
}

void writeLines(const std::string &path, const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines) {
        text += line + "\n";
    }
    support::WriteFile(path, support::Bytes(text.begin(), text.end()));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_curved_pages FOLDER [PAGES]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int pages = argc == 3 ? std::atoi(argv[2]) : 8;
    desk::ensureGuiApplication();
    for (int i = 0; i < pages; ++i) {
        desk::Random random(1000 + i);
        std::vector<std::string> lines = desk::textLines(random, 34);
        QImage page = desk::drawnTextPage(lines);
        desk::BentShape shape = shapeOf(i, random);
        desk::BentShape flat;
        char name[32];
        std::snprintf(name, sizeof name, "%02d", i + 1);
        support::WriteFile(folder + "/curved-" + name + ".jpg",
                           support::MakeJpeg(desk::photographBent(page, shape, i + 1)));
        support::WriteFile(folder + "/flat-" + name + ".jpg",
                           support::MakeJpeg(desk::photographBent(page, flat, i + 1)));
        std::vector<std::string> right = desk::textLines(random, 34);
        QImage rightPage = desk::drawnTextPage(right);
        double spreadAngle = random.uniform(45, 65) * kPi / 180;
        double spreadShare = random.uniform(0.25, 0.4);
        support::WriteFile(folder + "/spread-" + name + ".jpg",
                           support::MakeJpeg(desk::photographSpread(page, rightPage, spreadShare,
                                                                    spreadAngle, i + 1)));
        support::WriteFile(folder + "/flatright-" + name + ".jpg",
                           support::MakeJpeg(desk::photographBent(rightPage, flat, i + 1)));
        writeLines(folder + "/lines-" + name + ".txt", lines);
        writeLines(folder + "/lines-" + name + "-right.txt", right);
        std::printf("%s %s %s share %.2f angle %.1f\n", name, shape.curl ? "curl" : "book",
                    shape.towardsLeft ? "left" : "right", shape.share, shape.angle * 180 / kPi);
    }
    return 0;
}
