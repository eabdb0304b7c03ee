#include "cli/BlankSeparators.h"

#include <utility>

#include "blank/PageJudges.h"

namespace folvane::cli {

std::vector<bool> blankPages(const std::vector<RunPage> &pages,
                             const std::vector<std::string> &inputs,
                             const folvane::GenerateOptions &options) {
    std::vector<folvane::blank::PageToJudge> requests;
    for (const RunPage &page : pages) {
        folvane::blank::PageToJudge request;
        request.path = inputs[page.row];
        request.page = page.filePage;
        request.corrected = options.correctDocuments;
        if (auto corners = options.handCorners.find(page.row);
            corners != options.handCorners.end() && page.filePage == 1) {
            request.corners = corners->second;
        }
        requests.push_back(std::move(request));
    }
    folvane::blank::PageJudges judges(std::move(requests));
    std::vector<bool> blank(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        blank[i] = judges.blank(i);
    }
    return blank;
}

} // namespace folvane::cli
