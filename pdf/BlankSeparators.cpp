#include "pdf/BlankSeparators.h"

#include <optional>
#include <utility>

#include "blank/PageJudges.h"

namespace folvane {

std::vector<bool> blankPages(const std::vector<RunPage> &pages,
                             const std::vector<std::string> &inputs,
                             const GenerateOptions &options) {
    std::vector<std::optional<bool>> known(pages.size());
    std::vector<std::size_t> judged(pages.size(), 0); // by page: its place among the requests
    std::vector<blank::PageToJudge> requests;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const RunPage &page = pages[i];
        if (auto given = options.blankRows.find(page.row); given != options.blankRows.end()) {
            known[i] = given->second;
            continue;
        }
        blank::PageToJudge request;
        request.path = inputs[page.row];
        request.page = page.filePage;
        request.corrected = options.correctDocuments;
        if (auto corners = options.handCorners.find(page.row);
            corners != options.handCorners.end() && page.filePage == 1) {
            request.corners = corners->second;
        }
        judged[i] = requests.size();
        requests.push_back(std::move(request));
    }
    blank::PageJudges judges(std::move(requests));
    std::vector<bool> blank(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        blank[i] = known[i] ? *known[i] : judges.blank(judged[i]);
    }
    return blank;
}

} // namespace folvane
