#include "app/ImageFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "pdf/ImageFileRules.h"
#include "platform/ui/FileNameCollation.h"

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string &path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace

std::vector<std::string> ImageFilesInFolder(const std::string &folder,
                                            const FileNameCollation &collation) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError) && folvane::IsPageImageName(it->path().string())) {
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
        } else if (folvane::IsPageImageName(path)) {
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
