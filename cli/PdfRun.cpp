#include "cli/PdfRun.h"

#include <exception>
#include <unistd.h>

namespace folvane_pdf {

void setRunOptions(const Arguments &arguments, folvane::GenerateOptions &options) {
    options.layout = arguments.layout;
    options.firstPageOnly = arguments.firstPageOnly;
    options.ocrLanguages = arguments.ocrLanguages;
    options.pdfVersion = arguments.pdfVersion;
    options.correctDocuments = arguments.document;
}

int generateAndDeliver(
    Destination &destination,
    const std::function<void(const std::string &path, Reporter &reporter)> &generate) {
    Reporter reporter(::isatty(STDERR_FILENO) != 0);
    try {
        generate(destination.Path(), reporter);
    } catch (const folvane::GenerateError &failure) {
        return reporter.Failure(failure);
    } catch (const std::exception &failure) {
        reporter.EndProgress();
        return Fail(failure.what());
    }
    reporter.EndProgress();
    std::string error;
    if (!destination.Deliver(error)) {
        return Fail(error);
    }
    return 0;
}

} // namespace folvane_pdf
