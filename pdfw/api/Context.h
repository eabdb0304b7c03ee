// The context behind the C interface: the caller's handler and pointer, the document
// parameters, the document being written with the pipeline that prepares its images ahead,
// and the last error.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "pdfw/api/ImageOptions.h"
#include "pdfw/core/DocumentInfo.h"
#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/Problem.h"
#include "pdfw/document/Document.h"
#include "pdfw/pdfw.h"
#include "pdfw/pipeline/PagePipeline.h"

namespace folvane::pdfw {

// The minor version of a PDF version "1.3" to "1.7"; -1 for anything else.
int pdfMinorOf(const char *version);

} // namespace folvane::pdfw

struct pdfw_context {
    static constexpr std::uint32_t kLive = 0x70646677; // "pdfw"

    pdfw_context(pdfw_error_handler_proc handler, const folvane::pdfw::MemoryProcs &procs,
                 void *opaque);

    void setParameter(const char *key, const char *value);
    // False with `lastMessage` and `lastProblem` set when the output cannot be created.
    bool openFile(const char *filename);
    // The open document; PDFW_RUNTIME_ERROR when none is open or it was stopped.
    folvane::pdfw::Document &document();
    void queueImage(const char *type, const char *filename, const char *options, int page);
    int loadImage(const char *type, const char *filename, const char *options, int page);
    // Finishes the document; it is over after a failure other than a page still open.
    void closeCurrent();
    // From any thread: the open document fails from now on, its workers stop.
    void stop();

    std::uint32_t live = kLive;
    pdfw_error_handler_proc handler;
    folvane::pdfw::MemoryProcs memory;
    void *opaque;
    int pdfMinor = 4;
    std::string binding;
    int threads = 0;          // workers preparing images; 0: FOLVANE_THREADS, else one per core
    std::string ocrLanguages; // empty: no text layer
    std::string spillFolder;  // the open document's folder, for pages too large to hold
    bool correctDocuments = false;
    bool straightenCurves = true;     // corrected pages with bent text lines are straightened
    bool splitSpreads = false;        // "spreads": an open book's photo gives its two pages
    bool rightToLeft = false;         // ... the right one first
    folvane::pdfw::DocumentInfo info; // the next document's properties
    std::unique_ptr<folvane::pdfw::Document> current;
    int lastType = 0;
    std::string lastMessage;
    folvane::pdfw::Problem lastProblem;

private:
    bool setCorrectionParameter(const char *key, const char *value);
    // Raises PDFW_RUNTIME_ERROR naming `key` while a document is open.
    void mustNotBeOpen(const char *key) const;
    // What preparing page `page` of `path` for the open document asks for.
    folvane::pdfw::ImageRequest request(const std::string &path, int page,
                                        const folvane::pdfw::ImageOptions &asked) const;
    // The image options `options` names, with the document's correction settings.
    folvane::pdfw::ImageOptions optionsOf(const char *options) const;
    void endPipeline();

    // Guards `pipeline` against stop() from another thread; the pipeline is destroyed (its
    // workers joined) before `current`.
    std::mutex pipelineGuard_;
    std::unique_ptr<folvane::pdfw::PagePipeline> pipeline_;
    std::atomic<bool> stopped_{false};
};
