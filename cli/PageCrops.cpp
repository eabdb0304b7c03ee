#include "cli/PageCrops.h"

#include <cerrno>
#include <cstdlib>

#include "cli/Texts.h"
#include "pdf/CropCheck.h"

namespace folvane::cli {

namespace {

// "LEFT,TOP,RIGHT,BOTTOM" as whole numbers of pixels, or nullopt.
std::optional<folvane::CropRect> parseEdges(const std::string &text) {
    int *edges[4] = {};
    folvane::CropRect rect;
    edges[0] = &rect.left;
    edges[1] = &rect.top;
    edges[2] = &rect.right;
    edges[3] = &rect.bottom;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 3) == (comma == std::string::npos)) {
            return std::nullopt;
        }
        const std::string number = text.substr(start, i < 3 ? comma - start : std::string::npos);
        if (number.empty() || number.size() > 9 ||
            number.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        *edges[i] = static_cast<int>(std::strtol(number.c_str(), nullptr, 10));
        start = comma + 1;
    }
    return rect;
}

// "1,3-5,z" as ranges; false with `reason` set for a page that is no page or a range that runs
// backwards.
bool parseCropPages(const std::string &list, const std::string &given,
                    std::vector<PageRange> &pages, std::string &reason) {
    // --rotate reads the same list: borrow its reading, and word a fault for --crop.
    std::string turnReason;
    std::optional<TurnRule> read = parseTurnRule("0:" + list, turnReason);
    if (!read) {
        reason = fill(_("--crop=%1: \"%2\" is not a list of pages like 1,3-5,z (pages count from "
                        "1; z is the last page)"),
                      {given, list});
        return false;
    }
    pages = *read->pages;
    return true;
}

std::string rectText(const folvane::CropRect &r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Whether the rule's rectangle may crop `page`; false with `reason` set when it may not.
bool cropFits(const CropRule &rule, const ShownPage &page, std::size_t number,
              std::string &reason) {
    const folvane::CropRect &r = rule.rect;
    if (page.width < 0) { // a file that cannot be read: the run names it and its reason
        return true;
    }
    switch (folvane::cropFitOf(r, page.width, page.height)) {
    case folvane::CropFit::Fits:
        return true;
    case folvane::CropFit::TooSmall:
        reason = fill(_("--crop=%1: the part kept of page %2 is smaller than %3 pixels"),
                      {rule.text, std::to_string(number), std::to_string(folvane::kMinCropSide)});
        return false;
    case folvane::CropFit::OutsideImage:
        break;
    }
    reason = fill(_("--crop=%1: %2 lies outside page %3, whose picture is %4 x %5 pixels"),
                  {rule.text, rectText(r), std::to_string(number), std::to_string(page.width),
                   std::to_string(page.height)});
    return false;
}

} // namespace

std::optional<CropRule> parseCropRule(const std::string &value, std::string &reason) {
    CropRule rule;
    rule.text = value;
    const std::size_t colon = value.find(':');
    std::optional<folvane::CropRect> rect = parseEdges(value.substr(0, colon));
    if (!rect) {
        reason = fill(_("--crop takes LEFT,TOP,RIGHT,BOTTOM[:PAGES], four whole numbers of "
                        "pixels, not \"%1\""),
                      {value});
        return std::nullopt;
    }
    rule.rect = *rect;
    if (colon != std::string::npos) {
        std::vector<PageRange> pages;
        if (!parseCropPages(value.substr(colon + 1), value, pages, reason)) {
            return std::nullopt;
        }
        rule.pages = std::move(pages);
    }
    return rule;
}

bool cropsByPage(const std::vector<CropRule> &rules, const std::vector<ShownPage> &pages,
                 std::map<std::size_t, folvane::CropRect> &crops, std::string &reason) {
    const std::size_t count = pages.size();
    for (const CropRule &rule : rules) {
        std::vector<PageRange> all{{1, 0}};
        for (const PageRange &range : rule.pages ? *rule.pages : all) {
            const std::size_t first = range.first == 0 ? count : range.first;
            const std::size_t last = range.last == 0 ? count : range.last;
            if (last > count || count == 0) {
                reason = fill(_("--crop=%1 names page %2, past the last page of the document "
                                "(page %3)"),
                              {rule.text, std::to_string(last), std::to_string(count)});
                return false;
            }
            for (std::size_t page = first; page <= last; ++page) {
                if (!cropFits(rule, pages[page - 1], page, reason)) {
                    return false;
                }
                crops[page - 1] = rule.rect;
            }
        }
    }
    return true;
}

} // namespace folvane::cli
