#include "cli/ImageLists.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "cli/Texts.h"

namespace folvane_pdf {

namespace {

// Ceilings for what a list may hold: a line longer than a path can be, or more names than any
// document of pages could use, is a wrong file (a picture given as a list, /dev/zero).
constexpr std::size_t kMaxLine = PATH_MAX;
constexpr std::size_t kMaxNames = 1000000;

// Appends the names of list file `file` to `names`.
bool ReadList(std::FILE *file, const std::string &listName, std::vector<std::string> &names,
              std::string &error) {
    std::string line;
    std::size_t lineNumber = 1;
    auto finishLine = [&]() -> bool {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            if (names.size() >= kMaxNames) {
                error = Fill(_("list %1 names more than %2 images"),
                             {listName, std::to_string(kMaxNames)});
                return false;
            }
            names.push_back(line);
        }
        line.clear();
        ++lineNumber;
        return true;
    };
    int c;
    while ((c = std::getc(file)) != EOF) {
        if (c == '\n') {
            if (!finishLine()) {
                return false;
            }
            continue;
        }
        if (c == '\0' || line.size() >= kMaxLine) {
            error = Fill(_("list %1, line %2: not a file name (is it a list of paths, one per "
                           "line?)"),
                         {listName, std::to_string(lineNumber)});
            return false;
        }
        line.push_back(static_cast<char>(c));
    }
    if (std::ferror(file)) {
        error = Fill(_("cannot read list %1: %2"), {listName, std::strerror(errno)});
        return false;
    }
    return finishLine();
}

} // namespace

bool ExpandLists(std::vector<std::string> &inputs, std::string &error) {
    std::vector<std::string> expanded;
    for (const std::string &input : inputs) {
        if (input.empty() || input[0] != '@') {
            expanded.push_back(input);
            continue;
        }
        const std::string path = input.substr(1);
        if (path == "-") {
            if (!ReadList(stdin, _("on standard input"), expanded, error)) {
                return false;
            }
            continue;
        }
        std::FILE *file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            error = Fill(_("cannot read list %1: %2"), {path, std::strerror(errno)});
            return false;
        }
        bool read = ReadList(file, path, expanded, error);
        std::fclose(file);
        if (!read) {
            return false;
        }
    }
    inputs = std::move(expanded);
    return true;
}

} // namespace folvane_pdf
