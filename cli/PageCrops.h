// --crop=LEFT,TOP,RIGHT,BOTTOM[:PAGES]: keeping only a rectangle of pages. The edges are pixels
// of the page's picture as the PDF shows it (after its own orientation and --rotate), right and
// bottom just past the kept part; PAGES as --rotate takes them, every page when left out. Of
// several options that name a page, the last one crops it.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/PageTurns.h"
#include "pdf/PageGeneration.h"

namespace folvane::cli {

struct CropRule {
    std::string text; // as given, for messages
    folvane::CropRect rect;
    std::optional<std::vector<PageRange>> pages; // none: every page
};

// The rule `value` gives, or nullopt with `reason` set to the user's sentence.
std::optional<CropRule> parseCropRule(const std::string &value, std::string &reason);

// A page of the document as the PDF shows it: its picture's size in pixels after every turn;
// -1 x -1 for a file that cannot be read (its run fails there, naming it).
struct ShownPage {
    int width = -1;
    int height = -1;
};

// The crop of each page (0-based keys; pages left whole left out); false with `reason` set when
// a rule names a page past the end, or crops a page outside its picture or to less than 16
// pixels.
bool cropsByPage(const std::vector<CropRule> &rules, const std::vector<ShownPage> &pages,
                 std::map<std::size_t, folvane::CropRect> &crops, std::string &reason);

} // namespace folvane::cli
