#include "pdf/BlankPages.h"

#include "blank/PageFile.h"

namespace folvane {

bool LeaveOutAsBlank(const GenerateOptions &options, std::size_t row, const std::string &path,
                     int filePage) {
    if (!options.skipBlank) {
        return false;
    }
    if (auto known = options.blankRows.find(row); known != options.blankRows.end()) {
        return known->second;
    }
    blank::PageToJudge page;
    page.path = path;
    page.page = filePage;
    page.corrected = options.correctDocuments;
    if (auto corners = options.handCorners.find(row);
        options.correctDocuments && filePage == 1 && corners != options.handCorners.end()) {
        page.corners = corners->second;
    }
    const std::optional<blank::BlankVerdict> verdict = blank::judgePageFile(page);
    return verdict && verdict->blank;
}

GenerateError EveryPageBlank(const std::string &savePath, std::size_t pages) {
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
