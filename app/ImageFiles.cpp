#include "app/ImageFiles.h"

#include <filesystem>
#include <system_error>

#include "app/PdfRows.h"
#include "pdf/ImageFileRules.h"
#include "platform/ui/FileNameCollation.h"

namespace fs = std::filesystem;

namespace {

bool isFolder(const std::string &path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace

std::vector<std::string> imageFilesInFolder(const std::string &folder,
                                            const FileNameCollation &collation) {
    std::string error;
    return folvane::pageImagesInFolder(
               folder,
               [&collation](std::string_view a, std::string_view b) {
                   return collation.Compare(a, b);
               },
               error)
        .value_or(std::vector<std::string>{});
}

std::vector<std::string> imageFilesOfDrop(const std::vector<std::string> &paths,
                                          const FileNameCollation &collation) {
    std::vector<std::string> files;
    for (const std::string &path : paths) {
        if (isFolder(path)) {
            const std::vector<std::string> inside = imageFilesInFolder(path, collation);
            files.insert(files.end(), inside.begin(), inside.end());
        } else if (folvane::isPageImageName(path) || isPdfName(path)) {
            files.push_back(path);
        }
    }
    return files;
}

std::vector<std::string> imageFilesOfArguments(const std::vector<std::string> &arguments,
                                               const FileNameCollation &collation) {
    std::vector<std::string> files;
    for (const std::string &argument : arguments) {
        std::error_code error;
        const fs::path absolute = fs::absolute(argument, error);
        const std::string path = error ? argument : absolute.lexically_normal().string();
        if (!isFolder(path)) {
            files.push_back(path);
            continue;
        }
        const std::vector<std::string> inside = imageFilesInFolder(path, collation);
        files.insert(files.end(), inside.begin(), inside.end());
    }
    return files;
}
