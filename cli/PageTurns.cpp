#include "cli/PageTurns.h"

#include <cstdlib>
#include <set>

#include "cli/Texts.h"

namespace folvane::cli {

namespace {

// A page number of the list: 'z' (the last page, 0) or a whole number from 1; -1 when it is
// neither.
long pageNumber(const std::string &text) {
    if (text == "z") {
        return 0;
    }
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    const long number = std::strtol(text.c_str(), nullptr, 10);
    return number >= 1 ? number : -1;
}

// The angle before the colon as quarter turns, or nullopt when it is no multiple of 90.
std::optional<int> quarterTurnsOf(const std::string &angle) {
    std::size_t digits = angle.empty() || (angle[0] != '+' && angle[0] != '-') ? 0 : 1;
    const std::string number = angle.substr(digits);
    if (number.empty() || number.size() > 9 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const long degrees = std::strtol(number.c_str(), nullptr, 10);
    if (degrees % 90 != 0) {
        return std::nullopt;
    }
    const int turns = static_cast<int>((degrees / 90) % 4);
    return digits == 1 && angle[0] == '-' ? -turns : turns;
}

// "1,3-5,z" as ranges; false with `reason` set for a page that is no page or a range that runs
// backwards.
bool parsePages(const std::string &list, const std::string &given, std::vector<PageRange> &pages,
                std::string &reason) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        const std::string item =
            list.substr(start, comma == std::string::npos ? comma : comma - start);
        const std::size_t dash = item.find('-');
        const long first = pageNumber(item.substr(0, dash));
        const long last = dash == std::string::npos ? first : pageNumber(item.substr(dash + 1));
        if (first < 0 || last < 0) {
            reason = fill(_("--rotate=%1: \"%2\" is not a page (pages count from 1; z is the "
                            "last page)"),
                          {given, item});
            return false;
        }
        if (first == 0 ? last != 0 : (last != 0 && last < first)) {
            reason = fill(_("--rotate=%1: the pages %2 run backwards"), {given, item});
            return false;
        }
        pages.push_back({static_cast<int>(first), static_cast<int>(last)});
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return true;
}

} // namespace

std::optional<TurnRule> parseTurnRule(const std::string &value, std::string &reason) {
    TurnRule rule;
    rule.text = value;
    const std::size_t colon = value.find(':');
    std::optional<int> turns = quarterTurnsOf(value.substr(0, colon));
    if (!turns) {
        reason = fill(_("--rotate takes [+|-]ANGLE[:PAGES], ANGLE a multiple of 90, not \"%1\""),
                      {value});
        return std::nullopt;
    }
    rule.quarterTurns = *turns;
    if (colon != std::string::npos) {
        std::vector<PageRange> pages;
        if (!parsePages(value.substr(colon + 1), value, pages, reason)) {
            return std::nullopt;
        }
        rule.pages = std::move(pages);
    }
    return rule;
}

bool namesPages(const std::vector<TurnRule> &rules) {
    for (const TurnRule &rule : rules) {
        if (rule.pages) {
            return true;
        }
    }
    return false;
}

int turnsOfEveryPage(const std::vector<TurnRule> &rules) {
    int turns = 0;
    for (const TurnRule &rule : rules) {
        turns += rule.pages ? 0 : rule.quarterTurns;
    }
    return turns;
}

bool turnsByPage(const std::vector<TurnRule> &rules, std::size_t pageCount,
                 std::map<std::size_t, int> &turns, std::string &reason) {
    for (const TurnRule &rule : rules) {
        if (!rule.pages) {
            for (std::size_t page = 0; page < pageCount; ++page) {
                turns[page] += rule.quarterTurns;
            }
            continue;
        }
        std::set<std::size_t> named; // a page named twice by one rule turns once
        for (const PageRange &range : *rule.pages) {
            const std::size_t first = range.first == 0 ? pageCount : range.first;
            const std::size_t last = range.last == 0 ? pageCount : range.last;
            if (last > pageCount || pageCount == 0) {
                reason = fill(_("--rotate=%1 names page %2, past the last page of the document "
                                "(page %3)"),
                              {rule.text, std::to_string(last), std::to_string(pageCount)});
                return false;
            }
            for (std::size_t page = first; page <= last; ++page) {
                named.insert(page - 1);
            }
        }
        for (std::size_t page : named) {
            turns[page] += rule.quarterTurns;
        }
    }
    return true;
}

} // namespace folvane::cli
