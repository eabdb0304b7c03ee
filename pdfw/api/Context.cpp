#include "pdfw/api/Context.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sched.h>
#include <system_error>
#include <utility>

#include "ocr/Languages.h"
#include "ocr/OcrError.h"
#include "pdfw/api/ImageOptions.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/PageCount.h"
#include "pdfw/pipeline/ImageLoader.h"
#include "pdfw/pipeline/ImageRecognition.h"

namespace {

constexpr int kMaxThreads = 64;

// A whole number from 1 to kMaxThreads, else 0.
int threadCount(const char *text) {
    if (!text || !*text) {
        return 0;
    }
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 1 && value <= kMaxThreads ? static_cast<int>(value) : 0;
}

// FOLVANE_THREADS when it holds a valid count, else the cores this process may run on.
int defaultThreads() {
    if (int fromEnvironment = threadCount(std::getenv("FOLVANE_THREADS"))) {
        return fromEnvironment;
    }
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) {
        return std::clamp(CPU_COUNT(&cores), 1, kMaxThreads);
    }
    return 1;
}

// The pages of a file, or 1 when they cannot be counted: its load reports why.
int countablePages(const std::string &filename) {
    try {
        return folvane::pdfw::countPages(filename);
    } catch (...) {
        return 1;
    }
}

// What a queued request and the load that asks for it have in common.
std::string requestKey(const char *filename, int page, const folvane::pdfw::ImageOptions &options) {
    std::string key =
        std::to_string(page) + ":" + std::to_string(options.quarterTurns) + ":" + filename;
    if (options.correction.handCorners) {
        for (double corner : options.correction.corners) {
            key += ":" + std::to_string(corner);
        }
    }
    if (const auto &c = options.crop) {
        key += ":crop:" + std::to_string(c->left) + "," + std::to_string(c->top) + "," +
               std::to_string(c->right) + "," + std::to_string(c->bottom);
    }
    return key;
}

} // namespace

int folvane::pdfw::pdfMinorOf(const char *version) {
    if (!version || std::strlen(version) != 3 || version[0] != '1' || version[1] != '.' ||
        version[2] < '3' || version[2] > '7') {
        return -1;
    }
    return version[2] - '0';
}

pdfw_context::pdfw_context(pdfw_error_handler_proc errorHandler,
                           const folvane::pdfw::MemoryProcs &procs, void *userPointer)
    : handler(errorHandler), memory(procs), opaque(userPointer) {
    memory.context = this;
}

// A document parameter is refused once the document is open: its pages so far were made
// without it.
void pdfw_context::mustNotBeOpen(const char *key) const {
    if (current) {
        folvane::pdfw::failCall(PDFW_RUNTIME_ERROR,
                                std::string("\"") + key + "\" must be set before pdfw_open_file");
    }
}

// The document correction's parameters; false for any other key.
bool pdfw_context::setCorrectionParameter(const char *key, const char *value) {
    using folvane::pdfw::failCall;
    if (std::strcmp(key, "correction") == 0) {
        mustNotBeOpen(key);
        if (*value && std::strcmp(value, "document") != 0) {
            failCall(PDFW_VALUE_ERROR,
                     std::string("correction \"") + value + "\" is not \"\" or \"document\"");
        }
        correctDocuments = *value != '\0';
        return true;
    }
    if (std::strcmp(key, "dewarp") == 0) {
        mustNotBeOpen(key);
        if (std::strcmp(value, "on") != 0 && std::strcmp(value, "off") != 0) {
            failCall(PDFW_VALUE_ERROR,
                     std::string("dewarp \"") + value + "\" is not \"on\" or \"off\"");
        }
        straightenCurves = std::strcmp(value, "on") == 0;
        return true;
    }
    if (std::strcmp(key, "spreads") == 0) {
        mustNotBeOpen(key);
        const bool off = std::strcmp(value, "off") == 0;
        const bool rightFirst = std::strcmp(value, "right-first") == 0;
        if (!off && !rightFirst && std::strcmp(value, "left-first") != 0) {
            failCall(PDFW_VALUE_ERROR, std::string("spreads \"") + value +
                                           "\" is not \"off\", \"left-first\" or \"right-first\"");
        }
        splitSpreads = !off;
        rightToLeft = rightFirst;
        return true;
    }
    return false;
}

void pdfw_context::setParameter(const char *key, const char *value) {
    using folvane::pdfw::failCall;
    if (!key || !value) {
        failCall(PDFW_VALUE_ERROR, "key and value must not be null");
    }
    if (std::strcmp(key, "compatibility") == 0) {
        mustNotBeOpen(key);
        pdfMinor = folvane::pdfw::pdfMinorOf(value);
        if (pdfMinor < 0) {
            pdfMinor = 4;
            failCall(PDFW_VALUE_ERROR,
                     std::string("compatibility \"") + value + "\" is not one of 1.3 to 1.7");
        }
        return;
    }
    if (std::strcmp(key, "ocr") == 0) {
        mustNotBeOpen(key);
        if (*value) {
            try {
                folvane::ocr::checkLanguages(value);
            } catch (const folvane::ocr::OcrError &error) {
                folvane::pdfw::fail(PDFW_VALUE_ERROR, folvane::pdfw::recognitionProblem(error, ""));
            }
        }
        ocrLanguages = value;
        return;
    }
    if (setCorrectionParameter(key, value)) {
        return;
    }
    if (std::strcmp(key, "threads") == 0) {
        mustNotBeOpen(key);
        threads = threadCount(value);
        if (threads == 0) {
            failCall(PDFW_VALUE_ERROR,
                     std::string("threads \"") + value + "\" is not a whole number from 1 to 64");
        }
        return;
    }
    if (std::string *field = folvane::pdfw::documentInfoField(info, key)) {
        mustNotBeOpen(key);
        folvane::pdfw::setDocumentInfoField(*field, key, value);
        return;
    }
    if (std::strcmp(key, "binding") == 0) {
        binding = value;
        return;
    }
    failCall(PDFW_VALUE_ERROR, std::string("unknown parameter \"") + key + "\"");
}

bool pdfw_context::openFile(const char *filename) {
    using folvane::pdfw::failCall;
    if (current) {
        failCall(PDFW_RUNTIME_ERROR, "a document is already open (call pdfw_close first)");
    }
    if (!filename || !*filename) {
        failCall(PDFW_VALUE_ERROR, "no file name");
    }
    folvane::pdfw::Problem reason;
    auto output = folvane::pdfw::OutputFile::create(filename, memory, reason);
    if (!output) {
        lastType = PDFW_IO_ERROR;
        lastMessage = folvane::pdfw::describe(reason);
        lastProblem = std::move(reason);
        return false;
    }
    spillFolder = output->folder();
    current = std::make_unique<folvane::pdfw::Document>(std::move(output), pdfMinor, memory, info);
    stopped_ = false;
    int workers = threads > 0 ? threads : defaultThreads();
    if (workers > 1) {
        try {
            auto started = std::make_unique<folvane::pdfw::PagePipeline>(workers);
            std::lock_guard<std::mutex> lock(pipelineGuard_);
            pipeline_ = std::move(started);
        } catch (const std::system_error &) {
            // No threads to be had: the images are prepared on this one, as with "threads" 1.
        }
    }
    return true;
}

folvane::pdfw::Document &pdfw_context::document() {
    if (!current) {
        folvane::pdfw::failCall(PDFW_RUNTIME_ERROR,
                                "no document is open (call pdfw_open_file first)");
    }
    if (stopped_) {
        folvane::pdfw::fail(PDFW_RUNTIME_ERROR,
                            folvane::pdfw::problemWith(PDFW_PROBLEM_STOPPED, ""));
    }
    return *current;
}

void pdfw_context::queueImage(const char *type, const char *filename, const char *options,
                              int page) {
    document();
    if (!type || !filename || !options) {
        folvane::pdfw::failCall(PDFW_VALUE_ERROR, "type, file name and options must not be null");
    }
    // A request pdfw_load_image will refuse is not worth preparing.
    if (!pipeline_ || page < 0 || !*filename) {
        return;
    }
    folvane::pdfw::ImageOptions asked;
    try {
        asked = optionsOf(options);
    } catch (const folvane::pdfw::PdfwError &) {
        return;
    }
    int pages = page > 0 ? 1 : countablePages(filename);
    for (int announced = page > 0 ? page : 1; pages > 0; ++announced, --pages) {
        pipeline_->announce(requestKey(filename, announced, asked),
                            request(filename, announced, asked));
    }
}

int pdfw_context::loadImage(const char *type, const char *filename, const char *options, int page) {
    using folvane::pdfw::failCall;
    folvane::pdfw::Document &doc = document();
    if (!type || !filename || !options) {
        failCall(PDFW_VALUE_ERROR, "type, file name and options must not be null");
    }
    std::string kind;
    for (const char *c = type; *c; ++c) {
        kind += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    if (kind != "jpeg" && kind != "jpg" && kind != "tiff" && kind != "tif" && kind != "png" &&
        kind != "auto") {
        failCall(PDFW_TYPE_ERROR,
                 std::string("image type \"") + type + "\" is not one of jpeg, tiff, png, auto");
    }
    folvane::pdfw::ImageOptions asked = optionsOf(options);
    if (page < 1) {
        failCall(PDFW_VALUE_ERROR, "page " + std::to_string(page) + " (pages count from 1)");
    }
    if (!*filename) {
        failCall(PDFW_VALUE_ERROR, "no file name");
    }
    if (pipeline_) {
        // Gives the image's place in flight back however the writing ends.
        struct Written {
            folvane::pdfw::PagePipeline &pipeline;
            ~Written() { pipeline.written(); }
        } written{*pipeline_};
        if (auto prepared = pipeline_->take(requestKey(filename, page, asked))) {
            return doc.addImage(std::move(*prepared));
        }
    }
    return doc.addImage(folvane::pdfw::prepareImage(request(filename, page, asked)));
}

folvane::pdfw::ImageOptions pdfw_context::optionsOf(const char *options) const {
    folvane::pdfw::ImageOptions asked = folvane::pdfw::imageOptions(options, correctDocuments);
    asked.correction.straightenCurves = straightenCurves;
    asked.correction.splitSpreads = splitSpreads;
    asked.correction.rightToLeft = rightToLeft;
    return asked;
}

folvane::pdfw::ImageRequest pdfw_context::request(const std::string &path, int page,
                                                  const folvane::pdfw::ImageOptions &asked) const {
    return folvane::pdfw::ImageRequest{
        path,         page,        pdfMinor,         memory,
        ocrLanguages, spillFolder, asked.correction, asked.quarterTurns,
        asked.crop};
}

void pdfw_context::closeCurrent() {
    if (current && stopped_) {
        endPipeline();
        current.reset();
        folvane::pdfw::fail(PDFW_RUNTIME_ERROR,
                            folvane::pdfw::problemWith(PDFW_PROBLEM_STOPPED, "",
                                                       "it is abandoned and no file is written"));
    }
    folvane::pdfw::Document &doc = document();
    if (doc.pageOpen()) {
        folvane::pdfw::failCall(PDFW_RUNTIME_ERROR,
                                "a page is still open (call pdfw_end_page first)");
    }
    endPipeline();
    try {
        doc.close();
    } catch (...) {
        current.reset();
        throw;
    }
    current.reset();
}

void pdfw_context::stop() {
    std::lock_guard<std::mutex> lock(pipelineGuard_);
    stopped_ = true;
    if (pipeline_) {
        pipeline_->stop();
    }
}

void pdfw_context::endPipeline() {
    std::unique_ptr<folvane::pdfw::PagePipeline> ending;
    {
        std::lock_guard<std::mutex> lock(pipelineGuard_);
        ending = std::move(pipeline_);
    }
    ending.reset(); // joins the workers
}
