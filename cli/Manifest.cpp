#include "cli/Manifest.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "cli/Texts.h"

namespace folvane::cli {

namespace {

namespace fs = std::filesystem;

// `path` as seen from the manifest's folder.
std::string fromFolder(const std::string &folder, const std::string &path) {
    if (path.empty() || path[0] == '/' || folder.empty()) {
        return path;
    }
    return (fs::path(folder) / path).string();
}

// The fields of a line: tab-separated, trailing empty fields (a spreadsheet's) dropped.
std::vector<std::string> fieldsOf(const std::string &line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) {
            break;
        }
        start = tab + 1;
    }
    while (!fields.empty() && fields.back().empty()) {
        fields.pop_back();
    }
    return fields;
}

// What a document's line may not hold; "" when it holds none of it.
std::string lineProblem(const Arguments &arguments) {
    if (!arguments.output.empty()) {
        return _("-o has no place in a line: its first field is the output");
    }
    if (!arguments.batch.empty() || arguments.shard || arguments.splitEvery > 0 ||
        arguments.splitAtBlank) {
        return _("--batch, --shard and --split-* have no place in a line");
    }
    if (arguments.scan.scan || arguments.scan.listDevices) {
        return _("--scan and --list-devices have no place in a line");
    }
    if (std::string scanProblem = checkScanRequest(arguments.scan, true); !scanProblem.empty()) {
        return scanProblem;
    }
    if (arguments.inputs.empty()) {
        return _("no images");
    }
    return "";
}

// Parses one document's fields into `document`; "" or the reason it cannot be one.
std::string parseLine(const std::vector<std::string> &fields, ManifestDocument &document) {
    if (fields.front().empty() || fields.front() == "-" || fields.front()[0] == '@') {
        return _("the first field must name the output file");
    }
    const std::vector<std::string> rest(fields.begin() + 1, fields.end());
    Arguments &arguments = document.arguments;
    if (std::string problem = parseDocumentArguments(rest, arguments); !problem.empty()) {
        return problem;
    }
    if (std::string problem = lineProblem(arguments); !problem.empty()) {
        return problem;
    }
    document.output = fields.front();
    arguments.output = fields.front();
    for (const std::string &input : arguments.inputs) {
        if (input == "@-") {
            return _("@- has no place in a line: standard input is not one document's");
        }
        document.sources.push_back(input[0] == '@' ? input.substr(1) : input);
    }
    return "";
}

// The same file for two names that lead to it: its absolute path with links resolved as far
// as it exists.
std::string sameFileKey(const std::string &path) {
    std::error_code error;
    fs::path key = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) {
        key = fs::absolute(path, error).lexically_normal();
    }
    return key.string();
}

} // namespace

bool parseManifest(const std::string &text, const std::string &folder,
                   std::vector<ManifestDocument> &documents, ManifestProblem &problem) {
    std::unordered_map<std::string, std::size_t> outputs; // output key -> its line
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') {
            continue;
        }
        problem.line = number;
        if (line.find('\0') != std::string::npos) {
            problem.reason = _("the line holds a NUL byte");
            return false;
        }
        ManifestDocument document;
        document.line = number;
        problem.reason = parseLine(fieldsOf(line), document);
        if (!problem.reason.empty()) {
            return false;
        }
        auto [earlier, added] =
            outputs.emplace(sameFileKey(fromFolder(folder, document.output)), number);
        if (!added) {
            problem.reason = fill(_("its output %1 is line %2's too"),
                                  {document.output, std::to_string(earlier->second)});
            return false;
        }
        documents.push_back(std::move(document));
    }
    problem = ManifestProblem{};
    return true;
}

bool readManifest(const std::string &path, std::vector<ManifestDocument> &documents,
                  ManifestProblem &problem, bool &unreadable) {
    unreadable = true;
    std::error_code error;
    if (fs::is_directory(path, error)) {
        problem.reason = fill(_("%1 is a folder, not a manifest"), {path});
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        problem.reason = fill(_("cannot read the manifest %1: %2"), {path, std::strerror(errno)});
        return false;
    }
    std::string text;
    char chunk[1 << 16];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        if (text.size() + static_cast<std::size_t>(file.gcount()) > kMaxManifestBytes) {
            problem.reason = fill(_("the manifest %1 is larger than %2 MiB: split it"),
                                  {path, std::to_string(kMaxManifestBytes >> 20)});
            return false;
        }
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        problem.reason = fill(_("cannot read the manifest %1: %2"), {path, std::strerror(errno)});
        return false;
    }
    unreadable = false;
    return parseManifest(text, fs::path(path).parent_path().string(), documents, problem);
}

} // namespace folvane::cli
