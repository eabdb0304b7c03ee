#include "pdf/PageParts.h"

#include <algorithm>

namespace folvane {

std::vector<RunPage> runPages(const std::vector<int> &pagesPerInput,
                              const std::map<std::size_t, int> &rowPages) {
    std::vector<RunPage> pages;
    for (std::size_t row = 0; row < pagesPerInput.size(); ++row) {
        if (auto one = rowPages.find(row); one != rowPages.end()) {
            pages.push_back(RunPage{row, one->second, pages.size()});
            continue;
        }
        for (int page = 1; page <= std::max(1, pagesPerInput[row]); ++page) {
            pages.push_back(RunPage{row, page, pages.size()});
        }
    }
    return pages;
}

std::vector<PagePart> partsOfEvery(const std::vector<RunPage> &pages, std::size_t every) {
    std::vector<PagePart> parts;
    for (std::size_t start = 0; start < pages.size(); start += every) {
        const std::size_t end = std::min(pages.size(), start + every);
        parts.emplace_back(pages.begin() + static_cast<std::ptrdiff_t>(start),
                           pages.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return parts;
}

std::vector<PagePart> partsBetween(const std::vector<RunPage> &pages,
                                   const std::vector<bool> &separator) {
    std::vector<PagePart> parts(1);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i < separator.size() && separator[i]) {
            if (!parts.back().empty()) {
                parts.emplace_back();
            }
            continue;
        }
        parts.back().push_back(pages[i]);
    }
    if (parts.back().empty()) {
        parts.pop_back();
    }
    return parts;
}

PartRun partRun(const PagePart &part, const std::vector<std::string> &inputs,
                const GenerateOptions &run) {
    PartRun result;
    result.options = run;
    GenerateOptions &options = result.options;
    options.pageEdits.clear();
    options.handCorners.clear();
    options.pageTurns.clear();
    options.pageCrops.clear();
    options.rowPages.clear();
    options.blankRows.clear();
    for (std::size_t row = 0; row < part.size(); ++row) {
        const RunPage &page = part[row];
        result.rows.push_back(inputs[page.row]);
        options.rowPages[row] = page.filePage;
        if (auto edit = run.pageEdits.find(page.row); edit != run.pageEdits.end()) {
            options.pageEdits[row] = edit->second;
        }
        if (auto corners = run.handCorners.find(page.row);
            corners != run.handCorners.end() && page.filePage == 1) {
            options.handCorners[row] = corners->second;
        }
        if (auto blank = run.blankRows.find(page.row); blank != run.blankRows.end()) {
            options.blankRows[row] = blank->second;
        }
        if (auto turns = run.pageTurns.find(page.index); turns != run.pageTurns.end()) {
            options.pageTurns[row] = turns->second;
        }
        if (auto crop = run.pageCrops.find(page.index); crop != run.pageCrops.end()) {
            options.pageCrops[row] = crop->second;
        }
    }
    return result;
}

} // namespace folvane
