#include "cli/ScanRun.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "cli/Destination.h"
#include "cli/Interrupts.h"
#include "cli/OwnFolder.h"
#include "cli/PdfRun.h"
#include "cli/Reporter.h"
#include "cli/ScanMessages.h"
#include "cli/ScanProgress.h"
#include "cli/Texts.h"
#include "pdf/PageGeneration.h"
#include "scan/Scanner.h"

namespace folvane::cli {

namespace {

using folvane::scan::ScanFailure;

// Where the page files go: a temporary folder of the run's own, removed with the run, or the
// folder the user keeps them in.
class PageFiles {
public:
    PageFiles() = default;
    ~PageFiles() {
        forgetOwnFolder();
        if (temporary_) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    PageFiles(const PageFiles &) = delete;
    PageFiles &operator=(const PageFiles &) = delete;

    bool prepare(const std::string &keep, std::string &error) {
        if (!keep.empty()) {
            path_ = keep;
            rememberKeptFolder(keep);
            return true;
        }
        const char *tmp = std::getenv("TMPDIR");
        const std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
        // Named and locked as the engine's temporary documents are, after this process: a
        // folder left by a killed scan is removed here by the next one.
        folvane::removeDeadTemporaries(folder);
        path_ = folder + "/.folvane-scan.pdfw-" + std::to_string(::getpid()) + "-XXXXXX";
        if (!createOwnFolder(path_)) {
            error = fill(_("cannot create a folder for the pages in %1: %2"),
                         {folder, std::strerror(errno)});
            return false;
        }
        temporary_ = true;
        return true;
    }
    const std::string &path() const { return path_; }

private:
    std::string path_;
    bool temporary_ = false;
};

// The scanned pages' paths, in order. Throws ScanFailure; the scanner is closed on return.
std::vector<std::string> scanPages(const ScanRequest &request, const std::string &folder) {
    std::unique_ptr<folvane::scan::Scanner> scanner = folvane::scan::Scanner::open(request.device);
    scanner->apply(request.settings);
    const std::optional<folvane::scan::ScanArea> bed = scanner->choices().maxArea;
    if (std::optional<folvane::scan::ScanArea> paper =
            folvane::scan::paperBeyondBed(request.settings, bed)) {
        std::fprintf(stderr, "folvane-pdf: %s\n",
                     paperBeyondBedText(request.settings.pageSize, *paper, *bed).c_str());
    }
    folvane::scan::PageFolder pages(folder);
    ScanProgress progress(::isatty(STDERR_FILENO) != 0);
    folvane::scan::ScanOutcome outcome = scanner->scan(pages, progress.events());
    progress.end();
    if (outcome.error) {
        throw ScanFailure(*outcome.error);
    }
    std::vector<std::string> paths;
    for (const folvane::scan::ScannedPage &page : outcome.pages) {
        paths.push_back(page.path);
    }
    return paths;
}

// The pages' turns, which name pages of the scan, then the PDF.
int writePdf(const Arguments &arguments, Destination &destination,
             const std::vector<std::string> &pages) {
    folvane::GenerateOptions options;
    std::string reason;
    if (!turnsByPage(arguments.turns, pages.size(), options.pageTurns, reason)) {
        std::fprintf(stderr, "folvane-pdf: %s\n", reason.c_str());
        return kExitUsage;
    }
    setRunOptions(arguments, options);
    return generateAndDeliver(destination, [&](const std::string &path, Reporter &reporter) {
        folvane::generatePdf(path, pages, options, reporter.events());
    });
}

} // namespace

int listScanners() {
    std::vector<folvane::scan::DeviceInfo> devices;
    try {
        devices = folvane::scan::listDevices();
    } catch (const ScanFailure &failure) {
        return fail(scanErrorText(failure.error()));
    }
    if (devices.empty()) {
        folvane::scan::ScanError none;
        none.kind = folvane::scan::ScanErrorKind::NoDevice;
        return fail(scanErrorText(none));
    }
    for (const folvane::scan::DeviceInfo &device : devices) {
        std::printf("%s\t%s\t%s\t%s\n", device.name.c_str(), device.vendor.c_str(),
                    device.model.c_str(), device.type.c_str());
    }
    return 0;
}

int runScan(const Arguments &arguments) {
    handleInterrupts();
    std::string error;
    Destination destination;
    if (!destination.prepare(arguments.output, arguments.force, error)) {
        return fail(error);
    }
    PageFiles files;
    if (!files.prepare(arguments.scan.keepPages, error)) {
        return fail(error);
    }
    std::vector<std::string> pages;
    try {
        pages = scanPages(arguments.scan, files.path());
    } catch (const ScanFailure &failure) {
        return fail(scanErrorText(failure.error()));
    }
    return writePdf(arguments, destination, pages);
}

} // namespace folvane::cli
