// --rotate=[+|-]ANGLE[:PAGES]: turning pages of the document by quarter turns. ANGLE is a
// multiple of 90 degrees, clockwise unless it starts with '-'; PAGES is a list like 1,3-5,z of
// the document's pages (z the last one), every page when left out. The option may be given more
// than once; the turns of every one that names a page add up.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace folvane::cli {

// Pages `first` to `last` of the document, counted from 1; 0 stands for the last page.
struct PageRange {
    int first = 0;
    int last = 0;
};

struct TurnRule {
    std::string text;                            // as given, for messages
    int quarterTurns = 0;                        // clockwise, -3..3 after reducing by whole turns
    std::optional<std::vector<PageRange>> pages; // none: every page
};

// The rule `value` gives, or nullopt with `reason` set to the user's sentence.
std::optional<TurnRule> parseTurnRule(const std::string &value, std::string &reason);

// True when a rule names pages, so that the document's pages must be counted to apply it.
bool namesPages(const std::vector<TurnRule> &rules);

// The quarter turns of each page of a document of `pageCount` pages (0-based keys, pages
// without turns left out); false with `reason` set when a rule names a page past the end.
bool turnsByPage(const std::vector<TurnRule> &rules, std::size_t pageCount,
                 std::map<std::size_t, int> &turns, std::string &reason);

// The quarter turns every page takes, for rules that name no pages.
int turnsOfEveryPage(const std::vector<TurnRule> &rules);

} // namespace folvane::cli
