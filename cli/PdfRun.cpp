#include "cli/PdfRun.h"

#include <exception>
#include <unistd.h>

namespace folvane::cli {

void setRunOptions(const Arguments &arguments, folvane::GenerateOptions &options) {
    options.layout = arguments.layout;
    options.firstPageOnly = arguments.firstPageOnly;
    options.ocrLanguages = arguments.ocrLanguages;
    options.pdfVersion = arguments.pdfVersion;
    options.correctDocuments = arguments.document;
    options.straightenCurves = !arguments.noDewarp;
    if (arguments.spreads) {
        options.spreads = arguments.rightToLeft ? folvane::GenerateOptions::Spreads::RightFirst
                                                : folvane::GenerateOptions::Spreads::LeftFirst;
    }
    options.skipBlank = arguments.skipBlank;
    options.encryption = arguments.encryption;
    options.properties = arguments.properties;
}

int generateAndDeliver(
    Destination &destination,
    const std::function<void(const std::string &path, Reporter &reporter)> &generate) {
    Reporter reporter(::isatty(STDERR_FILENO) != 0);
    try {
        generate(destination.path(), reporter);
    } catch (const folvane::GenerateError &failure) {
        return reporter.failure(failure);
    } catch (const std::exception &failure) {
        reporter.endProgress();
        return fail(failure.what());
    }
    reporter.endProgress();
    reporter.reportBlankPages();
    std::string error;
    if (!destination.deliver(error)) {
        return fail(error);
    }
    return 0;
}

} // namespace folvane::cli
