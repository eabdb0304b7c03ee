#pragma once

#include <csetjmp>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/Problem.h"
#include "pdfw/pdfw.h"

// The only code that calls the PDF engine. One object owns one engine context for its whole
// life and turns every error the engine reports into an exception derived from
// PdfWriter::Exception.
//
// Errors travel out of the engine by longjmp: each operation arms `error.jump` just before its
// engine call, the error handler records type and text in `error` and jumps back, and only then,
// with every engine frame gone, does the operation throw. Frames that the jump crosses (the
// handler's and the engine's) hold nothing with a destructor.
//
// Single-threaded; never copied. The destructor never throws.
class PdfWriter {
public:
    // What the error handler records; its address is the pointer registered with the engine.
    struct ErrorRecord {
        std::jmp_buf jump;
        std::int32_t type;
        char message[256];
    };

    class Exception;
    class MemoryException;
    class IOException;
    class RuntimeException;
    class IndexException;
    class TypeException;
    class DivisionByZeroException;
    class OverflowException;
    class SyntaxException;
    class ValueException;
    class SystemException;
    class NonfatalException;
    class UnknownException;

    // The three memory procedures go to the engine unchanged (null: the engine's own); `opaque`
    // is copied into every exception and never given to the engine. Throws when the engine
    // cannot create a context or reports an error while it is set up; nothing is left held then.
    PdfWriter(pdfw_alloc_proc allocProc, pdfw_realloc_proc reallocProc, pdfw_free_proc freeProc,
              void *userPointer);
    ~PdfWriter();

    PdfWriter(const PdfWriter &) = delete;
    PdfWriter &operator=(const PdfWriter &) = delete;

    void SetParameter(std::string key, std::string value);
    // The engine's result unchanged: -1 when the output file cannot be opened (no exception).
    int OpenFile(std::string fileName);
    void Close();
    void BeginPage(float width, float height);
    void EndPage();
    // Objects copied from another PDF document and a page made of them (pdfw_reserve_object
    // and the calls after it): numbers the engine gives, bodies and entries written as given.
    int ReserveObject();
    void WriteObject(int number, std::string_view body);
    void WriteStreamObject(int number, const std::string &dictionary, std::string_view data);
    void AddObjectPage(int number, const std::string &entries);
    // The engine's image handle, unchanged and unchecked.
    int OpenImageFile(std::string imageType, std::string fileName, std::string options,
                      int intOption);
    // The second page of the open book an open image (noted PDFW_NOTE_SPREAD) is the first of.
    int OpenFacingPage(int image);
    void PlaceImage(int image, float x, float y, float scale);
    void CloseImage(int image);
    // The upright size of an open image in pixels (what one point per pixel would draw).
    void GetImageSize(int image, float &width, float &height);
    // The upright size in points of the sheet document correction made of an open image; 0 x 0
    // when it was not corrected.
    void GetImageSheet(int image, float &width, float &height);
    // The resolution in dots per inch an open image's file states, upright; 0 x 0 when none.
    void GetImageResolution(int image, float &dpiX, float &dpiY);
    // What the engine noted on an open image: a PDFW_NOTE_* kind with its fields.
    struct ImageNote {
        int kind;
        long long number;
        std::string detail;
    };
    int GetImageNoteCount(int image);
    ImageNote GetImageNote(int image, int index);
    // All of them, in the order the engine made them.
    std::vector<ImageNote> GetImageNotes(int image);
    // The pages of an image file: a TIFF's pages, 1 for other files.
    int CountPages(std::string fileName);
    // The engine's text for its last failure; after OpenFile gave -1, why the output could not
    // be created. Never throws.
    std::string LastErrorMessage() const;
    // The same failure as a kind with fields. Never throws but for memory.
    folvane::Problem LastProblem() const;
    // Announces an image a later OpenImageFile with the same file and integer option will ask
    // for (integer option 0: every page of the file), so that the engine prepares it ahead on
    // its worker threads. Problems with the image itself are reported by that OpenImageFile,
    // not here.
    void QueueImage(std::string imageType, std::string fileName, std::string options,
                    int intOption);
    // Callable from another thread while this one is inside a call: the document is stopped,
    // the call waiting on it and every later one throws. Never throws itself.
    void Stop() noexcept;

    // How page `page` of an image file would go into a PDF of version `compatibility`
    // (pdfw_inspect_image): needs no writer object, never throws, may be called from any
    // thread. False only for a version the engine does not write.
    static bool InspectImageFile(const std::string &fileName, int page,
                                 const std::string &compatibility, pdfw_image_facts &facts);

    // Removes the temporary files of every document being written in this process.
    // Async-signal-safe: for a handler of SIGINT and the like that then ends the process.
    static void RemoveTemporaryFiles() noexcept;
    // Removes what killed runs left in `folder` (pdfw_remove_dead_temporaries).
    static void RemoveDeadTemporaries(const std::string &folder) noexcept;

private:
    // Throws the exception class that `error.type` selects, with `error.message`.
    [[noreturn]] void ThrowError() const;
    // pdfw_new and the "binding" parameter, under the constructor's jump.
    void CreateContext(pdfw_alloc_proc allocProc, pdfw_realloc_proc reallocProc,
                       pdfw_free_proc freeProc);
    // Releases the context and the engine; errors of the engine while doing so are dropped.
    void Release() noexcept;

    pdfw_context *handle = nullptr;
    ErrorRecord error{};
    void *opaque = nullptr;
};

// Root of the twelve exception classes: the engine's error text and the writer's `opaque`.
class PdfWriter::Exception {
public:
    Exception(std::string text, void *userPointer)
        : message(std::move(text)), opaque(userPointer) {}

    std::string message;
    void *opaque;
};

class PdfWriter::MemoryException : public PdfWriter::Exception {
public:
    MemoryException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::IOException : public PdfWriter::Exception {
public:
    IOException(std::string text, void *userPointer) : Exception(std::move(text), userPointer) {}
};

class PdfWriter::RuntimeException : public PdfWriter::Exception {
public:
    RuntimeException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::IndexException : public PdfWriter::Exception {
public:
    IndexException(std::string text, void *userPointer) : Exception(std::move(text), userPointer) {}
};

class PdfWriter::TypeException : public PdfWriter::Exception {
public:
    TypeException(std::string text, void *userPointer) : Exception(std::move(text), userPointer) {}
};

class PdfWriter::DivisionByZeroException : public PdfWriter::Exception {
public:
    DivisionByZeroException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::OverflowException : public PdfWriter::Exception {
public:
    OverflowException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::SyntaxException : public PdfWriter::Exception {
public:
    SyntaxException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::ValueException : public PdfWriter::Exception {
public:
    ValueException(std::string text, void *userPointer) : Exception(std::move(text), userPointer) {}
};

class PdfWriter::SystemException : public PdfWriter::Exception {
public:
    SystemException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::NonfatalException : public PdfWriter::Exception {
public:
    NonfatalException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};

class PdfWriter::UnknownException : public PdfWriter::Exception {
public:
    UnknownException(std::string text, void *userPointer)
        : Exception(std::move(text), userPointer) {}
};
