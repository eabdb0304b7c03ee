#include "cli/ImageLists.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

// Ceilings for what a list may hold: a line longer than a path can be, or more names than any
// document of pages could use, is a wrong file (a picture given as a list, /dev/zero).
constexpr std::size_t kMaxLine = PATH_MAX;
constexpr std::size_t kMaxNames = 1000000;

// Appends the names of list file `file` to `names`.
bool readList(std::FILE *file, const std::string &listName, std::vector<std::string> &names,
              std::string &error) {
    std::string line;
    std::size_t lineNumber = 1;
    auto finishLine = [&]() -> bool {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            if (names.size() >= kMaxNames) {
                error = fill(_("list %1 names more than %2 images"),
                             {folvane::quotedName(listName), std::to_string(kMaxNames)});
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
            error = fill(_("list %1, line %2: not a file name (is it a list of paths, one per "
                           "line?)"),
                         {folvane::quotedName(listName), std::to_string(lineNumber)});
            return false;
        }
        line.push_back(static_cast<char>(c));
    }
    if (std::ferror(file)) {
        error = fill(_("cannot read list %1: %2"),
                     {folvane::quotedName(listName), std::strerror(errno)});
        return false;
    }
    return finishLine();
}

// Opens list file `path` without waiting on it: a regular file, or a pipe as `@<(command)`
// gives (one with no writer reads as empty). A device, socket or folder is refused.
std::FILE *openList(const std::string &path, std::string &error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error =
            fill(_("cannot read list %1: %2"), {folvane::quotedName(path), std::strerror(errno)});
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
        error =
            fill(_("cannot read list %1: it is not a regular file"), {folvane::quotedName(path)});
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE *file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        error =
            fill(_("cannot read list %1: %2"), {folvane::quotedName(path), std::strerror(errno)});
        ::close(fd);
    }
    return file;
}

} // namespace

bool outputIsNoList(const std::string &output, const std::vector<std::string> &lists,
                    std::string &error) {
    struct stat target {};
    if (output == "-" || ::stat(output.c_str(), &target) != 0) {
        return true;
    }
    for (const std::string &list : lists) {
        struct stat named {};
        if (::stat(list.c_str(), &named) == 0 && named.st_dev == target.st_dev &&
            named.st_ino == target.st_ino) {
            error = fill(_("the output file \"%1\" is the list \"%2\"; choose another output file"),
                         {folvane::quotedName(output), folvane::quotedName(list)});
            return false;
        }
    }
    return true;
}

bool expandLists(std::vector<std::string> &inputs, std::vector<std::string> &lists,
                 std::string &error) {
    std::vector<std::string> expanded;
    for (const std::string &input : inputs) {
        if (input.empty() || input[0] != '@') {
            expanded.push_back(input);
            continue;
        }
        const std::string path = input.substr(1);
        if (path == "-") {
            if (!readList(stdin, _("on standard input"), expanded, error)) {
                return false;
            }
            continue;
        }
        std::FILE *file = openList(path, error);
        if (file == nullptr) {
            return false;
        }
        lists.push_back(path);
        bool read = readList(file, path, expanded, error);
        std::fclose(file);
        if (!read) {
            return false;
        }
    }
    inputs = std::move(expanded);
    return true;
}

} // namespace folvane::cli
