#include "cli/BatchRun.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/DocumentRun.h"
#include "cli/ImageLists.h"
#include "cli/InputFiles.h"
#include "cli/Interrupts.h"
#include "cli/Manifest.h"
#include "cli/Reporter.h"
#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

bool modifiedTime(const std::string &path, struct timespec &time) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) {
        return false;
    }
    time = facts.st_mtim;
    return true;
}

bool later(const struct timespec &a, const struct timespec &b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// Whether the document's output exists and is newer than the manifest, every input, list and
// folder the line names, and every image those lists and folders hold.
bool upToDate(const ManifestDocument &document, const std::string &manifest) {
    struct timespec output {};
    struct timespec source {};
    if (!modifiedTime(document.arguments.output, output) || !modifiedTime(manifest, source) ||
        !later(output, source)) {
        return false;
    }
    std::vector<std::string> images = document.arguments.inputs;
    std::vector<std::string> lists;
    std::string error;
    if (!expandLists(images, lists, error) || !expandFolders(images, error)) {
        return false; // the run fails and says why
    }
    images.insert(images.end(), document.sources.begin(), document.sources.end());
    for (const std::string &path : images) {
        if (!modifiedTime(path, source) || !later(output, source)) {
            return false;
        }
    }
    return true;
}

void reportLine(const char *status, const ManifestDocument &document, std::size_t pages,
                double seconds) {
    std::printf("%s\t%zu\t%zu\t%.2f\t%s\n", status, document.line, pages, seconds,
                document.output.c_str());
    std::fflush(stdout);
}

} // namespace

int runBatch(const Arguments &arguments) {
    std::vector<ManifestDocument> documents;
    ManifestProblem problem;
    bool unreadable = false;
    if (!readManifest(arguments.batch, documents, problem, unreadable)) {
        if (unreadable) {
            return fail(problem.reason);
        }
        std::fprintf(stderr, "folvane-pdf: %s\n",
                     fill(_("%1, line %2: %3"), {folvane::quotedName(arguments.batch),
                                                 std::to_string(problem.line), problem.reason})
                         .c_str());
        return kExitUsage;
    }
    // Relative paths, those of list files included, are the manifest folder's.
    std::error_code error;
    const std::filesystem::path manifest = std::filesystem::absolute(arguments.batch, error);
    if (error || ::chdir(manifest.parent_path().c_str()) != 0) {
        return fail(
            fill(_("cannot go into the manifest's folder %1: %2"),
                 {folvane::quotedName(manifest.parent_path().string()), std::strerror(errno)}));
    }
    handleInterrupts();
    const Shard shard = arguments.shard.value_or(Shard{});
    bool someFailed = false;
    bool someLeftOut = false;
    for (std::size_t i = 0; i < documents.size(); ++i) {
        ManifestDocument &document = documents[i];
        if (!shard.takes(i)) {
            continue;
        }
        if (!arguments.force && upToDate(document, manifest.string())) {
            reportLine("skipped", document, 0, 0);
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const DocumentOutcome outcome = runDocument(document.arguments);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const bool written = outcome.status == 0 || outcome.status == kExitSomeLeftOut;
        someFailed = someFailed || !written;
        someLeftOut = someLeftOut || outcome.status == kExitSomeLeftOut;
        reportLine(written ? "ok" : "failed", document, outcome.pages, took.count());
    }
    return someFailed ? kExitFailure : someLeftOut ? kExitSomeLeftOut : 0;
}

} // namespace folvane::cli
