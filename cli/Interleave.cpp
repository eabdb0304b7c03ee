#include "cli/Interleave.h"

#include <utility>
#include <vector>

#include "cli/Texts.h"
#include "pdf/DuplexOrder.h"
#include "pdf/ImageFacts.h"

namespace folvane::cli {

namespace {

// One page of the stack: its file, the page of it, and whether the file has others.
struct StackPage {
    std::string path;
    int page = 1;
    bool ofSeveral = false;
};

std::vector<StackPage> stackPages(const Arguments &arguments,
                                  const folvane::GenerateOptions &options) {
    std::vector<int> counts(arguments.inputs.size(), 1);
    if (!arguments.firstPageOnly) {
        counts = folvane::countImagePages(arguments.inputs, options.pdfPasswords);
    }
    std::vector<StackPage> pages;
    for (std::size_t file = 0; file < arguments.inputs.size(); ++file) {
        for (int page = 1; page <= counts[file]; ++page) {
            pages.push_back(StackPage{arguments.inputs[file], page, counts[file] > 1});
        }
    }
    return pages;
}

} // namespace

bool interleavePages(Arguments &arguments, folvane::GenerateOptions &options, std::string &reason) {
    const std::vector<StackPage> pages = stackPages(arguments, options);
    const std::vector<std::size_t> order = folvane::duplexReadingOrder(pages.size());
    if (order.empty()) {
        reason = fill(_("--interleave needs an even number of pages, all the fronts and then "
                        "the backs in reverse; the images give %1"),
                      {std::to_string(pages.size())});
        return false;
    }
    std::vector<std::string> rows;
    rows.reserve(order.size());
    options.rowPages.clear();
    for (std::size_t from : order) {
        const StackPage &page = pages[from];
        if (page.ofSeveral) {
            options.rowPages[rows.size()] = page.page;
        }
        rows.push_back(page.path);
    }
    arguments.inputs = std::move(rows);
    return true;
}

} // namespace folvane::cli
