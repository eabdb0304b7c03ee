#include "tests/pdf_standin/engine/StandInEngine.h"

#include <cerrno>
#include <cstdio>
#include <map>

#include "pdfw/pdfw.h"

struct pdfw_context {
    bool used;
    pdfw_error_handler_proc handler;
    void *opaque;
};

namespace standin {
namespace {

struct Script {
    std::vector<std::string> log;
    std::string failCall;
    int failType = 0;
    std::string failMessage;
    int failSkip = 0;
    int openResult = 1;
    int imageHandle = 7;
    bool newFails = false;
    int handlerReturns = 0;
    float imageWidth = 1000;
    float imageHeight = 500;
    float sheetWidth = 0;
    float sheetHeight = 0;
    std::vector<std::pair<int, std::string>> imageNotes;
    std::map<std::string, int> pages;
    std::string lastError;
    int problemKind = PDFW_PROBLEM_NONE;
    std::string problemFile;
    std::string problemDetail;
};

Script &State() {
    static Script script;
    return script;
}

pdfw_context contexts[8];

void Append(std::string line) {
    State().log.push_back(std::move(line));
}

// Reports the scripted error when `call` is the one to fail. The handler is called from a frame
// that holds nothing with a destructor, as the real engine does; it is expected not to return.
void MaybeFail(pdfw_context *p, const char *call) {
    Script &s = State();
    if (s.failCall != call) {
        return;
    }
    if (s.failSkip > 0) {
        --s.failSkip;
        return;
    }
    s.failCall.clear();
    p->handler(p, s.failType, s.failMessage.c_str());
    ++s.handlerReturns;
}

} // namespace

void Reset() {
    State() = Script{};
    for (pdfw_context &c : contexts) {
        c = pdfw_context{};
    }
}

void FailNext(const std::string &call, int type, const std::string &message, int skip) {
    State().failSkip = skip;
    State().failCall = call;
    State().failType = type;
    State().failMessage = message;
}

void SetOpenResult(int result) {
    State().openResult = result;
}

void SetImageHandle(int handle) {
    State().imageHandle = handle;
}

void SetNewFails(bool fails) {
    State().newFails = fails;
}

void SetImageSize(float width, float height) {
    State().imageWidth = width;
    State().imageHeight = height;
}

void SetImageSheet(float width, float height) {
    State().sheetWidth = width;
    State().sheetHeight = height;
}

void SetImageNotes(const std::vector<std::pair<int, std::string>> &notes) {
    State().imageNotes = notes;
}

void SetPages(const std::string &path, int pages) {
    State().pages[path] = pages;
}

void SetLastError(const std::string &message) {
    State().lastError = message;
}

void SetLastProblem(int kind, const std::string &file, const std::string &detail) {
    State().problemKind = kind;
    State().problemFile = file;
    State().problemDetail = detail;
}

void Note(const std::string &line) {
    Append(line);
}

const std::vector<std::string> &Log() {
    return State().log;
}

int HandlerReturns() {
    return State().handlerReturns;
}

int LiveContexts() {
    int live = 0;
    for (const pdfw_context &c : contexts) {
        live += c.used ? 1 : 0;
    }
    return live;
}

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

} // namespace standin

using standin::Append;
using standin::MaybeFail;
using standin::Number;

extern "C" {

void pdfw_boot(void) {
    Append("boot");
}

void pdfw_shutdown(void) {
    Append("shutdown");
}

pdfw_context *pdfw_new(pdfw_error_handler_proc errorhandler, pdfw_alloc_proc, pdfw_realloc_proc,
                       pdfw_free_proc, void *opaque) {
    Append("new");
    if (standin::State().newFails) {
        return nullptr;
    }
    for (pdfw_context &c : standin::contexts) {
        if (!c.used) {
            c = pdfw_context{true, errorhandler, opaque};
            if (standin::State().failCall == "new" && standin::State().failSkip == 0) {
                // A context that fails to start is dropped before the error is reported.
                c.used = false;
            }
            MaybeFail(&c, "new");
            return &c;
        }
    }
    return nullptr;
}

void pdfw_delete(pdfw_context *p) {
    Append("delete");
    MaybeFail(p, "delete");
    p->used = false;
    Append("delete done");
}

void *pdfw_get_opaque(pdfw_context *p) {
    return p != nullptr ? p->opaque : nullptr;
}

int pdfw_set_parameter(pdfw_context *p, const char *key, const char *value) {
    Append(std::string("set_parameter ") + key + "=" + value);
    MaybeFail(p, "set_parameter");
    return 0;
}

int pdfw_open_file(pdfw_context *p, const char *filename) {
    Append(std::string("open_file ") + filename);
    MaybeFail(p, "open_file");
    return standin::State().openResult;
}

int pdfw_close(pdfw_context *p) {
    Append("close");
    MaybeFail(p, "close");
    return 0;
}

int pdfw_begin_page(pdfw_context *p, float width, float height) {
    Append("begin_page " + Number(width) + " " + Number(height));
    MaybeFail(p, "begin_page");
    Append("begin_page done");
    return 0;
}

int pdfw_end_page(pdfw_context *p) {
    Append("end_page");
    MaybeFail(p, "end_page");
    return 0;
}

int pdfw_reserve_object(pdfw_context *p) {
    Append("reserve_object");
    MaybeFail(p, "reserve_object");
    return 1;
}

int pdfw_write_object(pdfw_context *p, int number, const char *, size_t size) {
    Append("write_object " + std::to_string(number) + " " + std::to_string(size));
    MaybeFail(p, "write_object");
    return 0;
}

int pdfw_write_stream_object(pdfw_context *p, int number, const char *, const void *, size_t size) {
    Append("write_stream_object " + std::to_string(number) + " " + std::to_string(size));
    MaybeFail(p, "write_stream_object");
    return 0;
}

int pdfw_add_object_page(pdfw_context *p, int number, const char *) {
    Append("add_object_page " + std::to_string(number));
    MaybeFail(p, "add_object_page");
    return 0;
}

int pdfw_load_image(pdfw_context *p, const char *imagetype, const char *filename,
                    const char *optlist, int intopt) {
    Append(std::string("load_image ") + imagetype + " " + filename + " [" + optlist + "] " +
           std::to_string(intopt));
    MaybeFail(p, "load_image");
    return standin::State().imageHandle;
}

int pdfw_place_image(pdfw_context *p, int image, float x, float y, float scale) {
    Append("place_image " + std::to_string(image) + " " + Number(x) + " " + Number(y) + " " +
           Number(scale));
    MaybeFail(p, "place_image");
    return 0;
}

int pdfw_close_image(pdfw_context *p, int image) {
    Append("close_image " + std::to_string(image));
    MaybeFail(p, "close_image");
    return 0;
}

int pdfw_load_facing_page(pdfw_context *p, int image) {
    Append("load_facing_page " + std::to_string(image));
    MaybeFail(p, "load_facing_page");
    return image + 1;
}

int pdfw_inspect_image(const char *filename, int, const char *compatibility,
                       pdfw_image_facts *facts) {
    if (!filename || !compatibility || !facts) {
        return -1;
    }
    *facts = pdfw_image_facts{};
    return 0;
}

int pdfw_get_image_size(pdfw_context *p, int image, float *width, float *height) {
    Append("get_image_size " + std::to_string(image));
    MaybeFail(p, "get_image_size");
    *width = standin::State().imageWidth;
    *height = standin::State().imageHeight;
    return 0;
}

int pdfw_get_image_sheet(pdfw_context *p, int image, float *width, float *height) {
    Append("get_image_sheet " + std::to_string(image));
    MaybeFail(p, "get_image_sheet");
    *width = standin::State().sheetWidth;
    *height = standin::State().sheetHeight;
    return 0;
}

int pdfw_get_image_resolution(pdfw_context *p, int image, float *dpiX, float *dpiY) {
    Append("get_image_resolution " + std::to_string(image));
    MaybeFail(p, "get_image_resolution");
    *dpiX = 0;
    *dpiY = 0;
    return 0;
}

int pdfw_get_image_note_count(pdfw_context *p, int image) {
    Append("get_image_note_count " + std::to_string(image));
    MaybeFail(p, "get_image_note_count");
    return static_cast<int>(standin::State().imageNotes.size());
}

int pdfw_get_image_note(pdfw_context *p, int image, int index, pdfw_note *note) {
    Append("get_image_note " + std::to_string(image) + " " + std::to_string(index));
    MaybeFail(p, "get_image_note");
    const auto &noted = standin::State().imageNotes.at(static_cast<std::size_t>(index));
    *note = pdfw_note{noted.first, 0, noted.second.c_str()};
    return 0;
}

int pdfw_count_pages(pdfw_context *p, const char *filename) {
    Append(std::string("count_pages ") + filename);
    MaybeFail(p, "count_pages");
    auto found = standin::State().pages.find(filename);
    return found == standin::State().pages.end() ? 1 : found->second;
}

const char *pdfw_get_last_error(pdfw_context *) {
    return standin::State().lastError.c_str();
}

int pdfw_get_last_problem(pdfw_context *, pdfw_problem *problem) {
    const standin::Script &s = standin::State();
    *problem = pdfw_problem{s.problemKind,          s.problemFile.c_str(), 0, "", {0, 0}, "",
                            s.problemDetail.c_str()};
    return 0;
}

void pdfw_remove_temporary_files(void) {
    Append("remove_temporary_files");
}

int pdfw_create_temporary_file(const char * /*target*/, char * /*name*/, size_t /*size*/,
                               int *slot) {
    Append("create_temporary_file");
    *slot = -1;
    errno = EACCES;
    return -1;
}

void pdfw_forget_temporary_file(int /*slot*/) {}

void pdfw_remove_dead_temporaries(const char * /*folder*/) {
    Append("remove_dead_temporaries");
}

int pdfw_queue_image(pdfw_context *p, const char *imagetype, const char *filename,
                     const char *optlist, int intopt) {
    Append(std::string("queue_image ") + imagetype + " " + filename + " [" + optlist + "] " +
           std::to_string(intopt));
    MaybeFail(p, "queue_image");
    return 0;
}

int pdfw_stop(pdfw_context *) {
    Append("stop");
    return 0;
}

} // extern "C"
