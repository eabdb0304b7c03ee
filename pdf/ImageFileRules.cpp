#include "pdf/ImageFileRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace folvane {

namespace {

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The file name's extension with its dot ("" when the name has none).
std::string extensionOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1)) {
        return "";
    }
    return path.substr(dot);
}

// True when `part` first occurs in `path` after its first character.
bool foundAfterStart(const std::string &path, const char *part) {
    std::size_t position = path.find(part);
    return position != std::string::npos && position > 0;
}

} // namespace

const std::vector<std::string> &pageImageExtensions() {
    static const std::vector<std::string> kExtensions = {".jpg", ".jpeg", ".tif", ".tiff", ".png"};
    return kExtensions;
}

std::vector<std::string> addDialogPatterns() {
    std::vector<std::string> patterns;
    for (const std::string &extension : pageImageExtensions()) {
        patterns.push_back("*" + extension);
    }
    return patterns;
}

bool isPageImageName(const std::string &path) {
    const std::vector<std::string> &known = pageImageExtensions();
    return std::find(known.begin(), known.end(), lowerAscii(extensionOf(path))) != known.end();
}

bool isPreviewName(const std::string &path) {
    static constexpr std::array<const char *, 5> kPrefixes = {".tif", ".jpg", ".jpe", ".bmp",
                                                              ".png"};
    const std::string extension = lowerAscii(extensionOf(path));
    return std::any_of(kPrefixes.begin(), kPrefixes.end(),
                       [&](const char *prefix) { return extension.compare(0, 4, prefix) == 0; });
}

const char *imageTypeForPath(const std::string &path) {
    if (foundAfterStart(path, ".jpg") || foundAfterStart(path, ".JPG")) {
        return "jpeg";
    }
    if (foundAfterStart(path, ".tif") || foundAfterStart(path, ".TIF")) {
        return "tiff";
    }
    return "auto";
}

std::optional<std::vector<std::string>>
pageImagesInFolder(const std::string &folder,
                   const std::function<int(std::string_view, std::string_view)> &compareNames,
                   std::string &error) {
    namespace fs = std::filesystem;
    std::vector<fs::path> found;
    std::error_code failure;
    fs::directory_iterator it(folder, failure);
    for (const fs::directory_iterator end; !failure && it != end; it.increment(failure)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError) && isPageImageName(it->path().string())) {
            found.push_back(it->path());
        }
    }
    if (failure) {
        error = failure.message();
        return std::nullopt;
    }
    std::sort(found.begin(), found.end(), [&compareNames](const fs::path &a, const fs::path &b) {
        const std::string first = a.filename().string();
        const std::string second = b.filename().string();
        const int order = compareNames(first, second);
        return order != 0 ? order < 0 : first < second;
    });
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (const fs::path &path : found) {
        paths.push_back(path.string());
    }
    return paths;
}

} // namespace folvane
