// The C entry points. Each runs its work inside guard(), which catches every failure and
// records it in the context; only after guard() has returned, with no frame holding a
// resource left, is the caller's handler called, so a handler that longjmps skips nothing.

#include "pdfw/pdfw.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/file.h>
#include <utility>

#include "pdfw/api/Context.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/PageCount.h"
#include "pdfw/output/DeadTemporaries.h"
#include "pdfw/output/TemporaryFiles.h"

namespace {

std::atomic<int> bootCount{0};

constexpr std::size_t kMaxMessage = 1000;

bool isLive(pdfw_context *context) {
    return context != nullptr && context->live == pdfw_context::kLive;
}

// Keeps the failure of `call`; a call's own fault is named after the call.
void record(pdfw_context &context, int type, folvane::pdfw::Problem problem, const char *call) {
    context.lastType = type;
    try {
        context.lastMessage = folvane::pdfw::describe(problem);
        if (problem.kind == PDFW_PROBLEM_CALL) {
            context.lastMessage.insert(0, std::string(call) + ": ");
        }
        if (context.lastMessage.size() > kMaxMessage) {
            context.lastMessage.resize(kMaxMessage);
        }
        context.lastProblem = std::move(problem);
    } catch (...) {
        context.lastMessage.clear();
        context.lastProblem = folvane::pdfw::Problem{};
        context.lastProblem.kind = PDFW_PROBLEM_MEMORY;
    }
}

// Runs `work` for C function `call` on the context; false when it failed, with the failure
// recorded.
template <typename Work> bool guard(pdfw_context *context, const char *call, Work &&work) {
    if (!isLive(context)) {
        return false;
    }
    try {
        std::forward<Work>(work)(*context);
        return true;
    } catch (const folvane::pdfw::PdfwError &error) {
        record(*context, error.type(), error.problem(), call);
    } catch (const std::bad_alloc &) {
        record(*context, PDFW_MEMORY_ERROR, folvane::pdfw::problemWith(PDFW_PROBLEM_MEMORY, ""),
               call);
    } catch (const std::exception &error) {
        record(*context, PDFW_RUNTIME_ERROR,
               folvane::pdfw::problemWith(PDFW_PROBLEM_INTERNAL, "", error.what()), call);
    } catch (...) {
        record(*context, PDFW_RUNTIME_ERROR,
               folvane::pdfw::problemWith(PDFW_PROBLEM_INTERNAL, "", "unexpected internal failure"),
               call);
    }
    return false;
}

// Reports the recorded failure and gives `failure` back for the caller to return. The handler
// may not return.
template <typename T> T raise(pdfw_context *context, T failure) {
    if (isLive(context) && context->handler) {
        context->handler(context, context->lastType, context->lastMessage.c_str());
    }
    return failure;
}

} // namespace

extern "C" {

void pdfw_boot(void) {
    bootCount.fetch_add(1);
}

void pdfw_shutdown(void) {
    int expected = bootCount.load();
    while (expected > 0 && !bootCount.compare_exchange_weak(expected, expected - 1)) {
    }
}

pdfw_context *pdfw_new(pdfw_error_handler_proc handler, pdfw_alloc_proc alloc_proc,
                       pdfw_realloc_proc realloc_proc, pdfw_free_proc free_proc, void *opaque) {
    bool none = !alloc_proc && !realloc_proc && !free_proc;
    bool all = alloc_proc && realloc_proc && free_proc;
    if (!none && !all) {
        return nullptr;
    }
    folvane::pdfw::MemoryProcs procs{nullptr, alloc_proc, free_proc};
    return new (std::nothrow) pdfw_context(handler, procs, opaque);
}

void *pdfw_get_opaque(pdfw_context *context) {
    return isLive(context) ? context->opaque : nullptr;
}

int pdfw_set_parameter(pdfw_context *context, const char *key, const char *value) {
    if (guard(context, "pdfw_set_parameter",
              [&](pdfw_context &c) { c.setParameter(key, value); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_open_file(pdfw_context *context, const char *filename) {
    bool opened = false;
    if (guard(context, "pdfw_open_file", [&](pdfw_context &c) { opened = c.openFile(filename); })) {
        return opened ? 1 : -1;
    }
    return raise(context, -1);
}

int pdfw_begin_page(pdfw_context *context, float width, float height) {
    if (guard(context, "pdfw_begin_page",
              [&](pdfw_context &c) { c.document().beginPage(width, height); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_end_page(pdfw_context *context) {
    if (guard(context, "pdfw_end_page", [](pdfw_context &c) { c.document().endPage(); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_reserve_object(pdfw_context *context) {
    int number = -1;
    if (guard(context, "pdfw_reserve_object",
              [&](pdfw_context &c) { number = c.document().reserveObject(); })) {
        return number;
    }
    return raise(context, -1);
}

int pdfw_write_object(pdfw_context *context, int number, const char *body, size_t size) {
    if (guard(context, "pdfw_write_object", [&](pdfw_context &c) {
            if (!body && size) {
                folvane::pdfw::failCall(PDFW_VALUE_ERROR, "no object body");
            }
            c.document().writeObject(number, std::string_view(body ? body : "", size));
        })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_write_stream_object(pdfw_context *context, int number, const char *dictionary,
                             const void *data, size_t size) {
    if (guard(context, "pdfw_write_stream_object", [&](pdfw_context &c) {
            if (!dictionary || (!data && size)) {
                folvane::pdfw::failCall(PDFW_VALUE_ERROR, "no stream dictionary or data");
            }
            c.document().writeStreamObject(
                number, dictionary,
                std::string_view(data ? static_cast<const char *>(data) : "", size));
        })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_add_object_page(pdfw_context *context, int number, const char *entries) {
    if (guard(context, "pdfw_add_object_page", [&](pdfw_context &c) {
            if (!entries) {
                folvane::pdfw::failCall(PDFW_VALUE_ERROR, "no page entries");
            }
            c.document().addObjectPage(number, entries);
        })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_load_image(pdfw_context *context, const char *type, const char *filename,
                    const char *options, int page) {
    int handle = -1;
    if (guard(context, "pdfw_load_image",
              [&](pdfw_context &c) { handle = c.loadImage(type, filename, options, page); })) {
        return handle;
    }
    return raise(context, -1);
}

int pdfw_queue_image(pdfw_context *context, const char *type, const char *filename,
                     const char *options, int page) {
    if (guard(context, "pdfw_queue_image",
              [&](pdfw_context &c) { c.queueImage(type, filename, options, page); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_place_image(pdfw_context *context, int image, float x, float y, float scale) {
    if (guard(context, "pdfw_place_image",
              [&](pdfw_context &c) { c.document().placeImage(image, x, y, scale); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_close_image(pdfw_context *context, int image) {
    if (guard(context, "pdfw_close_image",
              [&](pdfw_context &c) { c.document().closeImage(image); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_get_image_size(pdfw_context *context, int image, float *width, float *height) {
    if (guard(context, "pdfw_get_image_size",
              [&](pdfw_context &c) { c.document().imageSize(image, width, height); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_get_image_sheet(pdfw_context *context, int image, float *width, float *height) {
    if (guard(context, "pdfw_get_image_sheet",
              [&](pdfw_context &c) { c.document().imageSheet(image, width, height); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_get_image_resolution(pdfw_context *context, int image, float *dpi_x, float *dpi_y) {
    if (guard(context, "pdfw_get_image_resolution",
              [&](pdfw_context &c) { c.document().imageResolution(image, dpi_x, dpi_y); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_load_facing_page(pdfw_context *context, int image) {
    int facing = -1;
    if (guard(context, "pdfw_load_facing_page",
              [&](pdfw_context &c) { facing = c.document().addFacingPage(image); })) {
        return facing;
    }
    return raise(context, -1);
}

int pdfw_get_image_note_count(pdfw_context *context, int image) {
    int count = -1;
    if (guard(context, "pdfw_get_image_note_count", [&](pdfw_context &c) {
            count = static_cast<int>(c.document().imageNotes(image).size());
        })) {
        return count;
    }
    return raise(context, -1);
}

int pdfw_get_image_note(pdfw_context *context, int image, int index, pdfw_note *note) {
    if (guard(context, "pdfw_get_image_note", [&](pdfw_context &c) {
            const folvane::pdfw::Notes &notes = c.document().imageNotes(image);
            if (!note || index < 0 || static_cast<std::size_t>(index) >= notes.size()) {
                folvane::pdfw::failCall(PDFW_VALUE_ERROR, "note " + std::to_string(index) +
                                                              " of image " + std::to_string(image) +
                                                              " (it has " +
                                                              std::to_string(notes.size()) + ")");
            }
            const folvane::pdfw::Note &noted = notes[static_cast<std::size_t>(index)];
            *note = pdfw_note{noted.kind, noted.number, noted.detail.c_str()};
        })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_count_pages(pdfw_context *context, const char *filename) {
    int pages = -1;
    if (guard(context, "pdfw_count_pages", [&](pdfw_context &) {
            if (!filename || !*filename) {
                folvane::pdfw::failCall(PDFW_VALUE_ERROR, "no file name");
            }
            pages = folvane::pdfw::countPages(filename);
        })) {
        return pages;
    }
    return raise(context, -1);
}

int pdfw_close(pdfw_context *context) {
    if (guard(context, "pdfw_close", [](pdfw_context &c) { c.closeCurrent(); })) {
        return 0;
    }
    return raise(context, -1);
}

int pdfw_stop(pdfw_context *context) {
    if (!isLive(context)) {
        return -1;
    }
    try {
        context->stop();
    } catch (...) {
        return -1;
    }
    return 0;
}

void pdfw_delete(pdfw_context *context) {
    if (!isLive(context)) {
        return;
    }
    context->live = 0;
    delete context;
}

void pdfw_remove_temporary_files(void) {
    folvane::pdfw::temporary_files::removeAll();
}

int pdfw_create_temporary_file(const char *target, char *name, size_t size, int *slot) {
    if (target == nullptr || name == nullptr || slot == nullptr) {
        errno = EINVAL;
        return -1;
    }
    *slot = -1;
    try {
        const std::string path = target;
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
        std::string temp = folder + "/" + folvane::pdfw::temporaryPrefix(base) + "XXXXXX";
        if (temp.size() >= size) {
            errno = ENAMETOOLONG;
            return -1;
        }
        const int fd = folvane::pdfw::temporary_files::create(temp, O_CLOEXEC, *slot);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            std::memcpy(name, temp.c_str(), temp.size() + 1);
        }
        return fd;
    } catch (...) { // only the strings can throw, when memory runs out
        errno = ENOMEM;
        return -1;
    }
}

void pdfw_forget_temporary_file(int slot) {
    folvane::pdfw::temporary_files::forget(slot);
}

void pdfw_remove_dead_temporaries(const char *folder) {
    if (folder) {
        try {
            folvane::pdfw::removeDeadTemporaries(folder);
        } catch (...) { // only the path's copy can throw, when memory runs out
        }
    }
}

const char *pdfw_get_last_error(pdfw_context *context) {
    return isLive(context) ? context->lastMessage.c_str() : "";
}

int pdfw_get_last_error_type(pdfw_context *context) {
    return isLive(context) ? context->lastType : 0;
}

int pdfw_get_last_problem(pdfw_context *context, pdfw_problem *problem) {
    if (!isLive(context) || !problem) {
        return -1;
    }
    const folvane::pdfw::Problem &last = context->lastProblem;
    *problem = pdfw_problem{context->lastType ? last.kind : PDFW_PROBLEM_NONE,
                            last.file.c_str(),
                            last.page,
                            last.format.c_str(),
                            {last.numbers[0], last.numbers[1]},
                            last.item.c_str(),
                            last.detail.c_str()};
    return 0;
}

} // extern "C"
