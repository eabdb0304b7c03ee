#include "app/ImageFiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/ui/FileNameCollation.h"

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string &path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

bool IsImageFileName(const std::string &path) {
    static constexpr std::array<const char *, 5> kExtensions = {".jpg", ".jpeg", ".tif", ".tiff",
                                                                ".png"};
    const std::string extension = LowerAscii(fs::path(path).extension().string());
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

std::vector<std::string> ImageFilesInFolder(const std::string &folder,
                                            const FileNameCollation &collation) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError) && IsImageFileName(it->path().string())) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end(), [&collation](const fs::path &a, const fs::path &b) {
        return CompareStrictly(collation, a.filename().string(), b.filename().string()) < 0;
    });
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (const fs::path &path : found) {
        paths.push_back(path.string());
    }
    return paths;
}

std::vector<std::string> ImageFilesOfDrop(const std::vector<std::string> &paths,
                                          const FileNameCollation &collation) {
    std::vector<std::string> files;
    for (const std::string &path : paths) {
        if (IsFolder(path)) {
            const std::vector<std::string> inside = ImageFilesInFolder(path, collation);
            files.insert(files.end(), inside.begin(), inside.end());
        } else if (IsImageFileName(path)) {
            files.push_back(path);
        }
    }
    return files;
}

std::vector<std::string> ImageFilesOfArguments(const std::vector<std::string> &arguments,
                                               const FileNameCollation &collation) {
    std::vector<std::string> files;
    for (const std::string &argument : arguments) {
        std::error_code error;
        const fs::path absolute = fs::absolute(argument, error);
        const std::string path = error ? argument : absolute.lexically_normal().string();
        if (!IsFolder(path)) {
            files.push_back(path);
            continue;
        }
        const std::vector<std::string> inside = ImageFilesInFolder(path, collation);
        files.insert(files.end(), inside.begin(), inside.end());
    }
    return files;
}
