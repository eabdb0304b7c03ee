#include "pdf/PdfWriter.h"

#include <csetjmp>
#include <cstring>

#include "pdf/EngineProblem.h"

namespace {

// Registered with pdfw_new. Records the error in the writer's ErrorRecord, found only through
// the pointer the engine hands back, and jumps to the point the current operation armed; it never
// returns to the engine, whatever the error type. Nothing here has a destructor.
void pdfw_error_handler(pdfw_context *context, int type, const char *message) {
    auto *record = context != nullptr
                       ? static_cast<PdfWriter::ErrorRecord *>(pdfw_get_opaque(context))
                       : nullptr;
    if (record == nullptr) {
        // An error before any context exists (pdfw_new failing): no record and no armed jump,
        // so the engine carries on and pdfw_new returns null, which the constructor reports.
        return;
    }
    record->type = type;
    std::size_t length = 0;
    if (message != nullptr) {
        length = strnlen(message, sizeof record->message - 1);
        std::memcpy(record->message, message, length);
    }
    record->message[length] = '\0';
    std::longjmp(record->jump, 1);
}

} // namespace

PdfWriter::PdfWriter(pdfw_alloc_proc allocProc, pdfw_realloc_proc reallocProc,
                     pdfw_free_proc freeProc, void *userPointer)
    : opaque(userPointer) {
    pdfw_boot();
    try {
        CreateContext(allocProc, reallocProc, freeProc);
    } catch (...) {
        // No destructor runs for a constructor that throws: give back what was taken here.
        Release();
        throw;
    }
}

void PdfWriter::CreateContext(pdfw_alloc_proc allocProc, pdfw_realloc_proc reallocProc,
                              pdfw_free_proc freeProc) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    handle = pdfw_new(pdfw_error_handler, allocProc, reallocProc, freeProc, &error);
    if (handle == nullptr) {
        throw MemoryException("the PDF engine could not create a context", opaque);
    }
    pdfw_set_parameter(handle, "binding", "C++");
}

PdfWriter::~PdfWriter() {
    Release();
}

void PdfWriter::Release() noexcept {
    if (handle != nullptr) {
        // An error inside pdfw_delete jumps back here; the rest of the deletion is abandoned.
        if (setjmp(error.jump) == 0) {
            pdfw_delete(handle);
        }
        handle = nullptr;
    }
    pdfw_shutdown();
}

void PdfWriter::SetParameter(std::string key, std::string value) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_set_parameter(handle, key.c_str(), value.c_str());
}

int PdfWriter::OpenFile(std::string fileName) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    return pdfw_open_file(handle, fileName.c_str());
}

void PdfWriter::Close() {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_close(handle);
}

void PdfWriter::BeginPage(float width, float height) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_begin_page(handle, width, height);
}

void PdfWriter::EndPage() {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_end_page(handle);
}

int PdfWriter::ReserveObject() {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    return pdfw_reserve_object(handle);
}

void PdfWriter::WriteObject(int number, std::string_view body) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_write_object(handle, number, body.data(), body.size());
}

void PdfWriter::WriteStreamObject(int number, const std::string &dictionary,
                                  std::string_view data) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_write_stream_object(handle, number, dictionary.c_str(), data.data(), data.size());
}

void PdfWriter::AddObjectPage(int number, const std::string &entries) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_add_object_page(handle, number, entries.c_str());
}

int PdfWriter::OpenImageFile(std::string imageType, std::string fileName, std::string options,
                             int intOption) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    return pdfw_load_image(handle, imageType.c_str(), fileName.c_str(), options.c_str(), intOption);
}

int PdfWriter::OpenFacingPage(int image) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    return pdfw_load_facing_page(handle, image);
}

void PdfWriter::PlaceImage(int image, float x, float y, float scale) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_place_image(handle, image, x, y, scale);
}

void PdfWriter::CloseImage(int image) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_close_image(handle, image);
}

bool PdfWriter::InspectImageFile(const std::string &fileName, int page,
                                 const std::string &compatibility, pdfw_image_facts &facts) {
    return pdfw_inspect_image(fileName.c_str(), page, compatibility.c_str(), &facts) == 0;
}

void PdfWriter::GetImageSize(int image, float &width, float &height) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_get_image_size(handle, image, &width, &height);
}

void PdfWriter::GetImageSheet(int image, float &width, float &height) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_get_image_sheet(handle, image, &width, &height);
}

void PdfWriter::GetImageResolution(int image, float &dpiX, float &dpiY) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_get_image_resolution(handle, image, &dpiX, &dpiY);
}

int PdfWriter::GetImageNoteCount(int image) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    return pdfw_get_image_note_count(handle, image);
}

PdfWriter::ImageNote PdfWriter::GetImageNote(int image, int index) {
    pdfw_note note{};
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_get_image_note(handle, image, index, &note);
    return {note.kind, note.number, note.detail ? note.detail : ""};
}

std::vector<PdfWriter::ImageNote> PdfWriter::GetImageNotes(int image) {
    std::vector<ImageNote> notes;
    for (int i = 0, count = GetImageNoteCount(image); i < count; ++i) {
        notes.push_back(GetImageNote(image, i));
    }
    return notes;
}

int PdfWriter::CountPages(std::string fileName) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    return pdfw_count_pages(handle, fileName.c_str());
}

std::string PdfWriter::LastErrorMessage() const {
    const char *message = pdfw_get_last_error(handle);
    return message != nullptr ? std::string(message) : std::string();
}

folvane::Problem PdfWriter::LastProblem() const {
    pdfw_problem problem{};
    if (pdfw_get_last_problem(handle, &problem) != 0) {
        return {};
    }
    return folvane::problemFromEngine(problem);
}

void PdfWriter::RemoveTemporaryFiles() noexcept {
    pdfw_remove_temporary_files();
}

void PdfWriter::RemoveDeadTemporaries(const std::string &folder) noexcept {
    pdfw_remove_dead_temporaries(folder.c_str());
}

void PdfWriter::QueueImage(std::string imageType, std::string fileName, std::string options,
                           int intOption) {
    if (setjmp(error.jump) != 0) {
        ThrowError();
    }
    pdfw_queue_image(handle, imageType.c_str(), fileName.c_str(), options.c_str(), intOption);
}

void PdfWriter::Stop() noexcept {
    // pdfw_stop never calls the handler, so no jump is armed on this thread.
    pdfw_stop(handle);
}

void PdfWriter::ThrowError() const {
    std::string message(error.message, strnlen(error.message, sizeof error.message));
    switch (error.type) {
    case 1:
        throw MemoryException(std::move(message), opaque);
    case 2:
        throw IOException(std::move(message), opaque);
    case 3:
        throw RuntimeException(std::move(message), opaque);
    case 4:
        throw IndexException(std::move(message), opaque);
    case 5:
        throw TypeException(std::move(message), opaque);
    case 6:
        throw DivisionByZeroException(std::move(message), opaque);
    case 7:
        throw OverflowException(std::move(message), opaque);
    case 8:
        throw SyntaxException(std::move(message), opaque);
    case 9:
        throw ValueException(std::move(message), opaque);
    case 10:
        throw SystemException(std::move(message), opaque);
    case 11:
        throw NonfatalException(std::move(message), opaque);
    default:
        throw UnknownException(std::move(message), opaque);
    }
}
