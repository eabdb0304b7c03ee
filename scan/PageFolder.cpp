#include "scan/PageFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

#include "scan/ScanError.h"

namespace folvane::scan {

namespace {

namespace fs = std::filesystem;

// A session folder this far into " (N)" means something else is wrong.
constexpr int kMaxSessionSuffix = 1000;

[[noreturn]] void cannotCreate(const std::string &path, const std::string &why) {
    ScanError error;
    error.kind = ScanErrorKind::WriteFailed;
    error.path = path;
    error.detail = why;
    throw ScanFailure(error);
}

void makeFolders(const std::string &path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) {
        cannotCreate(path, ec.message());
    }
    if (!fs::is_directory(path, ec)) {
        cannotCreate(path, "it exists and is not a folder");
    }
}

// The number of a page's own name ("page-012.png" gives 12), 0 for other names.
int pageNumberOf(const std::string &name) {
    if (name.rfind("page-", 0) != 0) {
        return 0;
    }
    std::size_t i = 5;
    long number = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && number < 100000000) {
        number = number * 10 + (name[i] - '0');
        ++i;
    }
    if (i == 5 || i >= name.size() || name[i] != '.') {
        return 0;
    }
    return static_cast<int>(number);
}

std::string sessionName(std::time_t when, const std::string &word) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H%M", &local);
    return word + " " + stamp;
}

} // namespace

PageFolder::PageFolder(std::string path) : path_(std::move(path)) {
    makeFolders(path_);
}

int PageFolder::nextNumber() const {
    int highest = 0;
    std::error_code ec;
    for (const fs::directory_entry &entry : fs::directory_iterator(path_, ec)) {
        const int number = pageNumberOf(entry.path().filename().string());
        highest = number > highest ? number : highest;
    }
    return highest + 1;
}

std::string PageFolder::pageName(int number, const char *extension) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", number);
    return std::string("page-") + digits + extension;
}

std::string createSessionFolder(const std::string &parent, std::time_t when,
                                const std::string &word) {
    makeFolders(parent);
    const std::string base = parent + "/" + sessionName(when, word);
    for (int n = 1; n <= kMaxSessionSuffix; ++n) {
        const std::string path = n == 1 ? base : base + " (" + std::to_string(n) + ")";
        if (::mkdir(path.c_str(), 0777) == 0) {
            return path;
        }
        if (errno != EEXIST) {
            cannotCreate(path, std::strerror(errno));
        }
    }
    cannotCreate(base, "too many scan folders of that minute");
}

} // namespace folvane::scan
