#include "platform/ui/FileDialogs.h"

#include "platform/ui/CDialog.h"

namespace {

std::vector<std::string> SplitPatterns(const std::string &patterns) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= patterns.size()) {
        const std::size_t end = std::min(patterns.find(';', start), patterns.size());
        if (end > start) {
            result.push_back(patterns.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

// path, with "." and extension appended when its file name has no extension of its own.
std::string WithDefaultExtension(const std::string &path, const std::string &extension) {
    const std::size_t slash = path.rfind('/');
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    // A leading dot (".hidden") starts a name, not an extension.
    const std::size_t dot = name.rfind('.');
    if (extension.empty() || name.empty() || (dot != std::string::npos && dot > 0)) {
        return path;
    }
    return path + "." + extension;
}

} // namespace

std::vector<FileFilter> ParseFileFilter(const std::string &filter) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) {
            fields.push_back(filter.substr(start));
            break;
        }
        fields.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].empty()) {
            break; // the "||" that ends the filter
        }
        filters.push_back(FileFilter{fields[i], SplitPatterns(fields[i + 1])});
    }
    return filters;
}

bool GetOpenFileNames(CDialog &owner, const OpenFileRequest &request,
                      std::vector<std::string> &paths) {
    paths.clear();
    if (!owner.Peer()) {
        return false;
    }
    if (!owner.Peer()->GetOpenFileNames(request, paths)) {
        paths.clear();
        return false;
    }
    return true;
}

CFileDialog::CFileDialog(const std::string &defaultExt, const std::string &fileName, unsigned flags,
                         const std::string &filter, CDialog &owner)
    : m_owner(owner) {
    m_request.defaultExt = defaultExt;
    m_request.initialName = fileName;
    m_request.flags = flags;
    m_request.filters = ParseFileFilter(filter);
}

int CFileDialog::DoModal() {
    std::string path;
    if (!m_owner.Peer() || !m_owner.Peer()->GetSaveFileName(m_request, path) || path.empty()) {
        return IDCANCEL;
    }
    m_path = WithDefaultExtension(path, m_request.defaultExt);
    return IDOK;
}
