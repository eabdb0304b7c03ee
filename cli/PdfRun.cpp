#include "cli/PdfRun.h"

#include <exception>
#include <unistd.h>

#include "cli/Reporter.h"

namespace folvane_pdf {

int generateAndDeliver(const Arguments &arguments, folvane::GenerateOptions options,
                       Destination &destination, const std::vector<std::string> &pages) {
    options.layout = arguments.layout;
    options.firstPageOnly = arguments.firstPageOnly;
    options.ocrLanguages = arguments.ocrLanguages;
    options.pdfVersion = arguments.pdfVersion;
    options.correctDocuments = arguments.document;
    Reporter reporter(::isatty(STDERR_FILENO) != 0);
    try {
        folvane::GeneratePdf(destination.Path(), pages, options, reporter.Events());
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
