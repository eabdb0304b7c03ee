#include "pdf/BlankSeparators.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "blank/PageFile.h"

namespace folvane {

std::vector<bool> blankPages(const std::vector<RunPage> &pages,
                             const std::vector<std::string> &inputs,
                             const GenerateOptions &options) {
    std::vector<char> blank(pages.size(), 0);
    std::atomic<std::size_t> next{0};
    auto judge = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < pages.size();) {
            const RunPage &page = pages[i];
            if (auto known = options.blankRows.find(page.row); known != options.blankRows.end()) {
                blank[i] = known->second ? 1 : 0;
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
            const auto verdict = blank::judgePageFile(request);
            blank[i] = verdict && verdict->blank ? 1 : 0;
        }
    };
    const std::size_t workers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), pages.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers; ++i) {
        threads.emplace_back(judge);
    }
    judge();
    for (std::thread &thread : threads) {
        thread.join();
    }
    return std::vector<bool>(blank.begin(), blank.end());
}

} // namespace folvane
