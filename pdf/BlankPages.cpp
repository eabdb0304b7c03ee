#include "pdf/BlankPages.h"

#include "blank/PageJudges.h"

namespace folvane {

namespace {

blank::PageToJudge requestFor(const GenerateOptions &options, const BlankPages::Page &page) {
    blank::PageToJudge request;
    request.path = page.path;
    request.page = page.filePage;
    request.corrected = options.correctDocuments;
    if (auto corners = options.handCorners.find(page.row);
        options.correctDocuments && page.filePage == 1 && corners != options.handCorners.end()) {
        request.corners = corners->second;
    }
    return request;
}

} // namespace

BlankPages::BlankPages(const GenerateOptions &options, const std::vector<Page> &pages)
    : known_(pages.size()), judged_(pages.size(), 0) {
    std::vector<blank::PageToJudge> requests;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (!options.skipBlank || !pages[i].readable) {
            known_[i] = false;
        } else if (auto given = options.blankRows.find(pages[i].row);
                   given != options.blankRows.end()) {
            known_[i] = given->second;
        } else {
            judged_[i] = requests.size();
            requests.push_back(requestFor(options, pages[i]));
        }
    }
    if (!requests.empty()) {
        judges_ = std::make_unique<blank::PageJudges>(std::move(requests));
    }
}

BlankPages::~BlankPages() = default;

bool BlankPages::leaveOut(std::size_t index) {
    if (index >= known_.size()) {
        return false;
    }
    if (known_[index]) {
        return *known_[index];
    }
    return judges_->blank(judged_[index]);
}

GenerateError everyPageBlank(const std::string &savePath, std::size_t pages) {
    Problem problem;
    problem.kind = Problem::Kind::EveryPageBlank;
    problem.file = savePath;
    problem.numbers[0] = static_cast<long long>(pages);
    return GenerateError(problem,
                         "every page is blank (" + std::to_string(pages) +
                             " left out): no document written",
                         savePath, 0, GenerateError::kNoRow);
}

} // namespace folvane
