/* pdfw: Folvane's PDF engine. A small C interface over a C++ implementation that writes one
 * PDF document of pages that carry JPEG, TIFF and PNG images.
 *
 * Usage, in this order:
 *   pdfw_boot();
 *   ctx = pdfw_new(handler, NULL, NULL, NULL, my_pointer);
 *   pdfw_set_parameter(ctx, "compatibility", "1.4");      (before pdfw_open_file)
 *   pdfw_open_file(ctx, "out.pdf");                       (-1: cannot be opened)
 *   for each page, optionally, to have the pages prepared ahead on all cores:
 *       pdfw_queue_image(ctx, "jpeg", "photo.jpg", "", 1);
 *   for each page:
 *       pdfw_begin_page(ctx, 595, 842);
 *       image = pdfw_load_image(ctx, "jpeg", "photo.jpg", "", 1);
 *       pdfw_place_image(ctx, image, 0, 0, 0.42f);
 *       pdfw_close_image(ctx, image);
 *       pdfw_end_page(ctx);
 *   pdfw_close(ctx);                                      (the target now exists)
 *   pdfw_delete(ctx);
 *   pdfw_shutdown();
 *
 * Errors. Every failure on a context is reported by calling the context's error handler with
 * the context, one of the PDFW_*_ERROR types below and a message that names what failed (the
 * file and the reason, the call made out of order, the bad handle). The handler is called
 * only after the engine has left all of its own frames that hold resources, so it may
 * longjmp out of the call (the engine then is in the state described for the failure).
 * If the handler returns, or no handler was given, the function returns its failure value.
 * After any failure the context stays valid: pdfw_delete may always be called.
 *
 * Files. pdfw_open_file creates the document's file in the target's folder at once, a file with
 * no name (O_TMPFILE); pdfw_close finishes the document, flushes it to disk and links it into
 * place over the target. A run that fails, is abandoned (pdfw_delete without a successful
 * pdfw_close) or is killed leaves nothing and an existing target untouched. Where the file
 * system cannot make a file with no name (or the environment variable
 * FOLVANE_PDFW_NAMED_TEMPORARY is set), the file is named ".NAME.pdfw-PID-XXXXXX" and locked
 * while the process lives; pdfw_open_file removes those of processes that are gone. Pages too
 * large to hold are compressed into files with no name in the same folder first. A target that
 * is a symbolic link is written through: the file it points to is replaced and the link stays.
 *
 * Output is reproducible: when the environment variable SOURCE_DATE_EPOCH is set (decimal
 * seconds since 1970), the creation date and the document ID derive from it and from the
 * document alone, so the same calls give the same bytes.
 *
 * Threads: a context is used by one thread at a time (pdfw_stop excepted); distinct
 * contexts are independent. Inside, images announced with pdfw_queue_image are prepared
 * (read, checked, decoded, compressed) by worker threads while the calling thread writes the
 * document in page order; at most workers + 1 images are in flight. The number of workers is
 * the parameter "threads", else the environment variable FOLVANE_THREADS, else one per core;
 * 1 prepares every image in pdfw_load_image on the calling thread. The output is the same
 * byte for byte whatever the number of workers.
 */
#ifndef FOLVANE_PDFW_PDFW_H
#define FOLVANE_PDFW_PDFW_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One document writer. Opaque; created by pdfw_new, released by pdfw_delete. */
typedef struct pdfw_context pdfw_context;

/* Error types given to the error handler. */
enum {
    /* an allocation failed */
    PDFW_MEMORY_ERROR = 1,
    /* an image file cannot be read, the output cannot be written */
    PDFW_IO_ERROR = 2,
    /* a call out of order: a page inside a page, close with a page open, an image placed
     * outside a page, anything but pdfw_open_file before a document is open, ... */
    PDFW_RUNTIME_ERROR = 3,
    /* an image handle that was never returned or is closed */
    PDFW_INDEX_ERROR = 4,
    /* an unknown image type name; a file that is not JPEG, TIFF or PNG; an image kind the
     * engine cannot carry into PDF */
    PDFW_TYPE_ERROR = 5,
    /* a placement scale of zero (a singular matrix) */
    PDFW_DIVISION_BY_ZERO_ERROR = 6,
    /* a picture wider or taller than PDFW_MAX_PICTURE_SIDE; a part of a file (a strip, a tile)
     * above the engine's memory ceiling; a file beyond what PDF can address */
    PDFW_OVERFLOW_ERROR = 7,
    /* a malformed or truncated image file */
    PDFW_SYNTAX_ERROR = 8,
    /* a bad argument: unknown parameter, bad value, null pointer, non-finite or out-of-range
     * number, unsupported option */
    PDFW_VALUE_ERROR = 9,
    /* the operating system refused flushing or renaming the output */
    PDFW_SYSTEM_ERROR = 10,
    /* reserved for warnings; the engine raises none at present */
    PDFW_NONFATAL_ERROR = 11
};

/* What a failure is about, for callers that word it themselves (pdfw_get_last_problem,
 * pdfw_image_facts): a kind and its fields. The handler's message is the engine's own English
 * wording of the same problem. `detail` holds the engine's or a library's own words (libjpeg's,
 * libtiff's, the system's), in English. */
enum {
    PDFW_PROBLEM_NONE = 0,
    /* a call out of order or with a bad argument, a fault of the calling program; detail: the
     * rule it broke */
    PDFW_PROBLEM_CALL = 1,
    /* memory ran out; item: what was being made, numbers[0]: the bytes asked for (0 unknown) */
    PDFW_PROBLEM_MEMORY = 2,
    /* the image file cannot be opened; detail: the system's reason */
    PDFW_PROBLEM_CANNOT_OPEN = 3,
    /* the image file cannot be read, or it changed while it was read; detail: why */
    PDFW_PROBLEM_CANNOT_READ = 4,
    /* the file is of no format the engine reads; numbers[0]: 1 when the file is empty,
     * numbers[1]: the formats it reads, as PDFW_FORMAT_* bits */
    PDFW_PROBLEM_NOT_AN_IMAGE = 5,
    /* the file is damaged: malformed, or its library cannot read it whole; detail: how */
    PDFW_PROBLEM_DAMAGED = 6,
    /* the file ends early; item: what it ends inside */
    PDFW_PROBLEM_TRUNCATED = 7,
    /* a kind of picture that PDF cannot carry and the engine cannot convert without loss;
     * detail: which */
    PDFW_PROBLEM_UNSUPPORTED = 8,
    /* numbers[0]: the page asked for, numbers[1]: the pages the file has */
    PDFW_PROBLEM_NO_SUCH_PAGE = 9,
    /* a picture beyond what the engine takes; item: which part, numbers[0]: the limit in bytes */
    PDFW_PROBLEM_TOO_LARGE = 10,
    /* the output cannot be created, written, flushed or put in place; file: the output; item:
     * the step ("create", "write", "flush", "rename"); detail: the system's reason */
    PDFW_PROBLEM_OUTPUT = 11,
    /* the document grew beyond the 10 GB a PDF cross-reference table can address */
    PDFW_PROBLEM_DOCUMENT_TOO_LARGE = 12,
    /* the text recognition languages are not a list of names joined by '+'; item: the list */
    PDFW_PROBLEM_LANGUAGE_NAMES = 13,
    /* a recognition language's data is not installed; item: the language, detail: the Debian
     * package that installs it */
    PDFW_PROBLEM_LANGUAGE_MISSING = 14,
    /* text recognition failed; numbers[0], numbers[1]: the width and height in pixels of the
     * page it failed on (0 when it failed before a page); detail: the engine's own words, or "" */
    PDFW_PROBLEM_RECOGNITION = 15,
    /* the document was stopped (pdfw_stop) */
    PDFW_PROBLEM_STOPPED = 16,
    /* a failure the engine does not expect; detail: what */
    PDFW_PROBLEM_INTERNAL = 17,
    /* a TIFF or PNG picture wider or taller than PDFW_MAX_PICTURE_SIDE pixels, which viewers
     * drawing with cairo show as a blank page; numbers[0]: its width, numbers[1]: its height */
    PDFW_PROBLEM_TOO_MANY_PIXELS = 18,
    /* the header claims more pixels than the file's compressed data can hold, so it is refused
     * before any is decoded; numbers[0]: the pixels claimed, numbers[1]: the bytes of data */
    PDFW_PROBLEM_DATA_TOO_SHORT = 19,
    /* the image path names no regular file but a pipe, a device or a socket, which is refused
     * without waiting on it */
    PDFW_PROBLEM_NOT_A_FILE = 20,
    /* a JPEG wider or taller than PDFW_MAX_JPEG_SIDE pixels, which JPEG decoders refuse;
     * numbers[0]: its width, numbers[1]: its height */
    PDFW_PROBLEM_JPEG_TOO_LARGE = 21,
    /* text recognition's engine module cannot be used; item: its path; numbers[0]: why, a
     * PDFW_MODULE_* value; detail: the dynamic loader's words for PDFW_MODULE_CANNOT_LOAD */
    PDFW_PROBLEM_RECOGNITION_MODULE = 22,
    /* the engine cannot load the data of the recognition languages; item: the languages,
     * detail: the folder of the data */
    PDFW_PROBLEM_LANGUAGE_DATA = 23
};

/* Why a module loaded on first use cannot be used (PDFW_PROBLEM_RECOGNITION_MODULE). */
enum pdfw_module_failure {
    PDFW_MODULE_CANNOT_LOAD = 1,   /* the dynamic loader refused it */
    PDFW_MODULE_WRONG_VERSION = 2, /* it is no module of this version */
    PDFW_MODULE_FAILED_TO_START = 3
};

/* The formats the engine reads, as bits of a set (PDFW_PROBLEM_NOT_AN_IMAGE). */
enum pdfw_format_bit { PDFW_FORMAT_JPEG = 1, PDFW_FORMAT_TIFF = 2, PDFW_FORMAT_PNG = 4 };

/* The most pixels a side of a TIFF or PNG picture the engine takes (a JPEG's is
 * PDFW_MAX_JPEG_SIDE). Pictures up to it go in whatever their size in memory: large ones pass
 * through the engine in bands of rows. */
#define PDFW_MAX_PICTURE_SIDE 32767

/* The most pixels a side of a JPEG the engine takes: JPEG decoders read no larger one, though
 * its header can state up to 65535. */
#define PDFW_MAX_JPEG_SIDE 65500

/* The fewest pixels a crop keeps each way ("crop=" of pdfw_load_image). */
#define PDFW_MIN_CROP_SIDE 16

/* A problem's fields. The strings are never NULL ("" when a kind has none). */
typedef struct pdfw_problem {
    int kind;             /* PDFW_PROBLEM_* */
    const char *file;     /* the image or output file concerned */
    int page;             /* the file's page (1-based), 0 when none */
    const char *format;   /* "JPEG", "TIFF", "PNG" or "" */
    long long numbers[2]; /* as the kind says; 0 otherwise */
    const char *item;     /* as the kind says */
    const char *detail;   /* as the kind says */
} pdfw_problem;

/* Called for every error on a context: the context, a PDFW_*_ERROR type and a NUL-terminated
 * message (valid until the next call on the context). It may return or longjmp. */
typedef void (*pdfw_error_handler_proc)(pdfw_context *context, int error_type, const char *message);

/* Memory procedures for the engine's large buffers (decoded pictures, compressed streams,
 * the output buffer). Either all three are given or none (NULL: the C heap). alloc returns
 * NULL on failure; realloc is accepted for completeness and never called at present. They
 * are called from the engine's worker threads too, so they must be thread-safe (or set
 * "threads" to "1"). */
typedef void *(*pdfw_alloc_proc)(pdfw_context *context, size_t size, const char *caller);
typedef void *(*pdfw_realloc_proc)(pdfw_context *context, void *memory, size_t size,
                                   const char *caller);
typedef void (*pdfw_free_proc)(pdfw_context *context, void *memory);

/* Prepares the library; pair every call with one pdfw_shutdown. Never fails. */
void pdfw_boot(void);

/* Releases what pdfw_boot prepared once the last pairing call has come. Never fails. */
void pdfw_shutdown(void);

/* Creates a context with error handler `handler` (may be NULL), memory procedures (all NULL,
 * or all given) and the caller's pointer `opaque`. Returns NULL when memory runs out or when
 * only some of the memory procedures are given; no handler is called then. */
pdfw_context *pdfw_new(pdfw_error_handler_proc handler, pdfw_alloc_proc alloc_proc,
                       pdfw_realloc_proc realloc_proc, pdfw_free_proc free_proc, void *opaque);

/* The `opaque` pointer given to pdfw_new; NULL for a NULL context. Never raises. */
void *pdfw_get_opaque(pdfw_context *context);

/* Sets a document parameter. Returns 0, or -1 on failure. Keys:
 *   "correction":    "" (the default) or "document": every image is then a photographed or
 *                    scanned page to be corrected (the sheet found in a photo and flattened, a
 *                    scan deskewed and its dark border cut away, the light evened) and written
 *                    small: black ink on paper as a Group 4 image, a page with colour as its ink
 *                    over a low-resolution JPEG of the colour. Recognition then reads the
 *                    corrected page. A photo in which no sheet is found goes in as it is, with
 *                    PDFW_NOTE_SHEET_NOT_FOUND. Only before pdfw_open_file.
 *   "dewarp":        "on" (the default) or "off": with "correction" set to "document", a page
 *                    whose text lines bend (a book's page bent into its gutter, a curled sheet)
 *                    is remapped so that they run straight; "off" keeps the four-corner
 *                    correction alone. Only before pdfw_open_file.
 *   "spreads":       "off" (the default), "left-first" or "right-first": with "correction" set
 *                    to "document", a photo or scan of an open book, two pages either side of a
 *                    shaded fold, is split at the fold into two corrected pages, in reading
 *                    order (left first, or right first for books read from right to left). The
 *                    first is the image loaded, noted PDFW_NOTE_SPREAD; see
 *                    pdfw_load_facing_page. Only before pdfw_open_file.
 *   "compatibility": "1.3" .. "1.7", the PDF version written (default "1.4"); only before
 *                    pdfw_open_file (PDFW_RUNTIME_ERROR afterwards).
 *   "threads":       "1" to "64", the workers that prepare queued images (default:
 *                    FOLVANE_THREADS, else one per core); only before pdfw_open_file.
 *   "binding":       any text naming the calling language; recorded, no effect on output.
 *   "ocr":           "" (the default) or languages joined by '+' ("chi_sim+eng"): every
 *                    image is then also recognised (by the worker that prepares it) and its
 *                    words are laid over each placement as invisible, searchable text; the
 *                    image objects stay the same. Only before pdfw_open_file. A language
 *                    whose data is not installed raises PDFW_VALUE_ERROR naming its Debian
 *                    package; a page recognition fails on raises PDFW_RUNTIME_ERROR from
 *                    pdfw_load_image.
 *   "title", "author", "subject", "keywords":
 *                    the document's properties, UTF-8 text of at most 1000 characters and no
 *                    control characters (anything else raises PDFW_VALUE_ERROR naming the
 *                    fault); "" (the default) leaves one out. Written to the Info dictionary
 *                    and, when any is set, to an XMP metadata stream the catalog names, with
 *                    the same dates. Only before pdfw_open_file; they stay for later documents
 *                    of the context.
 * An unknown key, a bad value or a NULL argument raises PDFW_VALUE_ERROR. */
int pdfw_set_parameter(pdfw_context *context, const char *key, const char *value);

/* Starts the document, creating its temporary file in the folder of `filename`. Returns 1
 * on success. Returns -1 WITHOUT calling the handler when the output cannot be created (no
 * such folder, no permission, ...); the reason is then available from
 * pdfw_get_last_error. Raises (and returns -1) PDFW_RUNTIME_ERROR when a document is
 * already open, PDFW_VALUE_ERROR for a NULL or empty name, PDFW_IO_ERROR when the file
 * header cannot be written. */
int pdfw_open_file(pdfw_context *context, const char *filename);

/* Begins a page of width x height points (each finite, 3 to 14400). Returns 0 or -1.
 * Raises PDFW_RUNTIME_ERROR without an open document or with a page already open,
 * PDFW_VALUE_ERROR for a bad size. */
int pdfw_begin_page(pdfw_context *context, float width, float height);

/* Ends the current page and writes it out. Returns 0 or -1. Raises PDFW_RUNTIME_ERROR
 * without an open page, PDFW_IO_ERROR when the output cannot be written. */
int pdfw_end_page(pdfw_context *context);

/* Pages copied from other PDF documents, their objects written as given. The caller numbers
 * them: pdfw_reserve_object gives a new object number (>= 1; -1 on failure); each reserved
 * object is then written once, by pdfw_write_object (`body`: `size` bytes of one PDF object
 * other than a stream, its references the caller's own) or pdfw_write_stream_object
 * (`dictionary`: the stream's entries other than /Length, NUL-terminated; `data`: its `size`
 * bytes as stored). pdfw_add_object_page makes reserved object `number` the next page, a
 * dictionary of /Type /Page, /Parent and `entries` (NUL-terminated: /MediaBox, /Resources,
 * /Contents and the like); no page may be open. Each returns 0 or -1 and raises
 * PDFW_RUNTIME_ERROR without an open document, PDFW_INDEX_ERROR for a number not reserved
 * or already written, PDFW_VALUE_ERROR for a NULL argument, PDFW_IO_ERROR when the output
 * cannot be written. */
int pdfw_reserve_object(pdfw_context *context);
int pdfw_write_object(pdfw_context *context, int number, const char *body, size_t size);
int pdfw_write_stream_object(pdfw_context *context, int number, const char *dictionary,
                             const void *data, size_t size);
int pdfw_add_object_page(pdfw_context *context, int number, const char *entries);

/* Loads an image file and writes it into the document once; returns its handle (>= 1) for
 * pdfw_place_image and pdfw_close_image, or -1 on failure. Allowed with a document open,
 * inside or outside a page. `type` is a hint, "jpeg", "tiff", "png" or "auto" (any case):
 * the content decides. `options` is empty, or options separated by blanks, each at most once:
 * "turns=N", N from -3 to 3: the page turned N quarter turns clockwise (negative: anticlockwise)
 * after the picture's own orientation, a corrected page after its correction, its data written
 * as without turns; and, with the parameter "correction" set,
 * "corners=X1,Y1,X2,Y2,X3,Y3,X4,Y4": the sheet's top-left, top-right, bottom-right and
 * bottom-left corners in pixels of the upright picture before the turns, placed by hand (no
 * detection then); and "crop=LEFT,TOP,RIGHT,BOTTOM": only this part of the turned picture goes
 * in (right and bottom just past it), at least 16 pixels each way; the rest is not written. A
 * JPEG is cut without loss on its block grid (its data start at most one block before the left
 * and top edges, whose pixels the page clips); other pictures are written again, losslessly,
 * from the kept pixels. A cropped page is not corrected. pdfw_get_image_size gives the kept
 * part's size.
 * `page` is the 1-based page of a multi-page TIFF (1 for a JPEG).
 * Raises PDFW_RUNTIME_ERROR without an open document; PDFW_VALUE_ERROR for NULL arguments,
 * options or page out of range (a crop outside the picture or smaller than 16 pixels);
 * PDFW_TYPE_ERROR for an unknown type name, a file that is
 * not JPEG, TIFF or PNG, or an image PDF cannot carry; PDFW_IO_ERROR when the file cannot be
 * opened or read, or the output cannot be written; PDFW_SYNTAX_ERROR for a malformed or
 * truncated file; PDFW_OVERFLOW_ERROR for an image above the size ceiling;
 * PDFW_MEMORY_ERROR when memory runs out. A failure that did not disturb the output leaves
 * the document usable. */
int pdfw_load_image(pdfw_context *context, const char *type, const char *filename,
                    const char *options, int page);

/* Announces the image a later pdfw_load_image with the same file name and page will ask
 * for, so that it is prepared ahead on a worker thread. Announced images are prepared in the
 * order announced; the loads that ask for them should come in that order (a load that skips
 * announcements drops them; a load of something never announced is prepared as usual).
 * Whatever was announced, pdfw_load_image gives the same result, the same bytes in the
 * document and the same errors: a problem with the image itself is reported by the
 * pdfw_load_image that asks for it, never here. Allowed with a document open, inside or
 * outside a page; `type` and `options` as for pdfw_load_image; `page` as for pdfw_load_image,
 * or 0 for every page of the file in order (as pdfw_count_pages counts them; a file whose
 * pages cannot be counted is announced as page 1). Returns 0 or -1. Raises
 * PDFW_RUNTIME_ERROR without an open document, PDFW_VALUE_ERROR for NULL arguments. */
int pdfw_queue_image(pdfw_context *context, const char *type, const char *filename,
                     const char *options, int page);

/* Draws image `image` on the current page, upright, its lower left corner at (x, y) and
 * its natural size (one point per pixel) multiplied by `scale`. Returns 0 or -1. Raises
 * PDFW_RUNTIME_ERROR without an open page, PDFW_INDEX_ERROR for a handle not open,
 * PDFW_DIVISION_BY_ZERO_ERROR for scale 0, PDFW_VALUE_ERROR for non-finite numbers. */
int pdfw_place_image(pdfw_context *context, int image, float x, float y, float scale);

/* Releases handle `image` (its picture stays in the document and on the pages that placed
 * it). Returns 0 or -1. Raises PDFW_INDEX_ERROR for a handle not open,
 * PDFW_RUNTIME_ERROR without an open document. */
int pdfw_close_image(pdfw_context *context, int image);

/* The upright size in pixels of open image `image` (width and height swapped for a picture
 * its orientation turns by a quarter), for laying out its page. Returns 0 or -1. Raises
 * PDFW_INDEX_ERROR for a handle not open, PDFW_VALUE_ERROR for NULL pointers. */
int pdfw_get_image_size(pdfw_context *context, int image, float *width, float *height);

/* The upright size in points of the sheet that document correction made of open image `image`:
 * its paper (A4, A5, B5 or Letter) when it was snapped to one, else the sheet's own shape at the
 * size its scan states, or, for a photo, as long as A4. 0 x 0 for an image that was not
 * corrected. Returns 0 or -1. Raises PDFW_INDEX_ERROR for a handle not open, PDFW_VALUE_ERROR
 * for NULL pointers. */
int pdfw_get_image_sheet(pdfw_context *context, int image, float *width, float *height);

/* The resolution in dots per inch that the file of open image `image` states (a JFIF header, a
 * TIFF's resolution tags, a PNG's pHYs chunk), upright: x along the width pdfw_get_image_size
 * gives. 0 x 0 when the file states none, or only the pixels' aspect. Returns 0 or -1. Raises
 * PDFW_INDEX_ERROR for a handle not open, PDFW_VALUE_ERROR for NULL pointers. */
int pdfw_get_image_resolution(pdfw_context *context, int image, float *dpi_x, float *dpi_y);

/* What the engine noted while loading an image: it went into the document, and the caller may
 * want to tell the user. */
enum {
    /* a damaged JPEG was rewritten from its coefficients without loss; detail: what libjpeg
     * found wrong with it ("" when it said nothing) */
    PDFW_NOTE_REPAIRED = 1,
    /* the file's colour profile was left out and device colours are used; detail: why */
    PDFW_NOTE_PROFILE_IGNORED = 2,
    /* an ICC version 4 profile went into a PDF older than 1.5, whose readers may show device
     * colours; number: the document's PDF minor version */
    PDFW_NOTE_PROFILE_TOO_NEW = 3,
    /* bilevel fax data that PDF readers would misread was re-encoded as G4; detail: what was
     * wrong with it */
    PDFW_NOTE_FAX_REENCODED = 4,
    /* samples of more than 8 bits were written with 8 (rounded to the nearest); number: the
     * bits the file has (9 to 16); detail: "" when the document's PDF version is the reason
     * (1.5 and later keep 16 bits), else why */
    PDFW_NOTE_SAMPLES_REDUCED = 5,
    /* document correction found no sheet in the photo: it went in as it is, not cropped at a
     * guess; number: 2 when it saw two sheets, else 0 */
    PDFW_NOTE_SHEET_NOT_FOUND = 6,
    /* document correction could not correct the page, which went in as it is; number: why, a
     * PDFW_CORRECTION_* value; detail: as that value says */
    PDFW_NOTE_NOT_CORRECTED = 7,
    /* with "spreads" set, the photo showed an open book: this image is the first of its two
     * pages in reading order, and pdfw_load_facing_page gives the second; number: 2 */
    PDFW_NOTE_SPREAD = 8
};

/* Why document correction left a page as it is (PDFW_NOTE_NOT_CORRECTED's number). */
enum pdfw_correction_failure {
    PDFW_CORRECTION_FAILED = 0,        /* detail: the image processing's own words */
    PDFW_CORRECTION_OUT_OF_MEMORY = 1, /* detail: "" */
    PDFW_CORRECTION_BAD_CORNERS = 2,   /* the corners given make no sheet; detail: how */
    /* the correction module cannot be loaded; detail: the dynamic loader's words, which name it */
    PDFW_CORRECTION_MODULE_CANNOT_LOAD = 3,
    /* detail: the path of a file that is no correction module of this version, or of one that
     * failed to start */
    PDFW_CORRECTION_MODULE_UNUSABLE = 4
};

typedef struct pdfw_note {
    int kind;           /* PDFW_NOTE_* */
    long long number;   /* as the kind says; 0 otherwise */
    const char *detail; /* as the kind says; never NULL */
} pdfw_note;

/* The second page of the open book that open image `image` (noted PDFW_NOTE_SPREAD) is the first
 * page of, as a new open image handle with notes of its own; it is handed out once. Returns the
 * handle, or -1 raising PDFW_INDEX_ERROR for a handle not open, PDFW_VALUE_ERROR for an image
 * without a second page or one already handed out. */
int pdfw_load_facing_page(pdfw_context *context, int image);

/* The number of notes the engine made while loading open image `image` (>= 0), or -1 raising
 * PDFW_INDEX_ERROR for a handle not open. */
int pdfw_get_image_note_count(pdfw_context *context, int image);

/* Note `index` (0-based, below the count) of open image `image`, into `note`, whose detail
 * stays valid until the handle is closed. Returns 0, or -1 raising PDFW_INDEX_ERROR for a handle
 * not open, PDFW_VALUE_ERROR for a NULL note or an index out of range. */
int pdfw_get_image_note(pdfw_context *context, int image, int index, pdfw_note *note);

/* The number of pages of image file `filename` (>= 1): the pages of a TIFF, 1 for every other
 * file (pdfw_load_image decides whether it can use it). Needs no open document. Returns -1
 * on failure, raising what pdfw_load_image raises for a file it cannot open or read. */
int pdfw_count_pages(pdfw_context *context, const char *filename);

/* Finishes the document and renames it over the target. Returns 0 or -1. Raises
 * PDFW_RUNTIME_ERROR without an open document or with a page open (nothing changes then);
 * PDFW_IO_ERROR or PDFW_SYSTEM_ERROR when writing, flushing or renaming fails (the temporary
 * file is removed, the target untouched, the document over). Open image handles are
 * released. After success another document may be opened on the same context. */
int pdfw_close(pdfw_context *context);

/* Stops the open document from any thread, for a user's Cancel: images queued and not yet
 * prepared are dropped, the workers finish the image at hand and stop, and a call waiting on
 * the document (a pdfw_load_image) fails. From then on every call on the document raises
 * PDFW_RUNTIME_ERROR; pdfw_close abandons it (nothing written, an existing target untouched)
 * and so does pdfw_delete. Without an open document nothing happens. Never raises (the
 * handler is not called on the stopping thread). Returns 0, or -1 for a NULL or released
 * context. Must not overlap pdfw_delete of the same context. */
int pdfw_stop(pdfw_context *context);

/* Releases the context; an unfinished document is abandoned (its workers stopped and joined,
 * its temporary file removed). NULL is ignored. Never raises. */
void pdfw_delete(pdfw_context *context);

/* What pdfw_inspect_image tells about one page of an image file. */
enum {
    /* the page cannot go into a PDF: `reason` says why */
    PDFW_INTAKE_UNUSABLE = 0,
    /* its compressed data goes into the PDF unchanged */
    PDFW_INTAKE_COPIED = 1,
    /* it is damaged but read whole: rewritten losslessly, `reason` says what was wrong */
    PDFW_INTAKE_REPAIRED = 2,
    /* it is decoded (or re-coded) and compressed again, losslessly */
    PDFW_INTAKE_RECOMPRESSED = 3
};

typedef struct pdfw_image_facts {
    int ok;       /* 1 when the page can go into a PDF, else 0 */
    char kind[8]; /* "JPEG", "TIFF", "PNG", or "" when the content is none of them */
    int pages;    /* pages in the file (0 when it cannot be read) */
    int width;    /* the page's size in pixels as it is shown, upright */
    int height;
    int intake;       /* PDFW_INTAKE_* */
    char reason[512]; /* the engine's English sentence for why it cannot be used, or what a
                         repair mends; "" otherwise */
    /* Why it cannot be used, as pdfw_problem has it (kind PDFW_PROBLEM_NONE when it can) */
    int problem;
    long long numbers[2];
    char item[256];
    char detail[512]; /* the problem's detail, or, for a repair, PDFW_NOTE_REPAIRED's */
} pdfw_image_facts;

/* Tells how page `page` (1-based) of image file `filename` would go into a PDF of version
 * `compatibility` ("1.3" to "1.7", as the parameter of that name), reading its headers with the
 * engine's own code (a damaged JPEG is read whole to tell whether it can be repaired): the same
 * decisions pdfw_load_image takes. Needs no context and no pdfw_boot; safe to call from several
 * threads at once. Returns 0 with `facts` filled (also when the file cannot be used: ok 0 and
 * the problem), or -1 for a NULL argument or a version out of range. */
int pdfw_inspect_image(const char *filename, int page, const char *compatibility,
                       pdfw_image_facts *facts);

/* Removes the named temporary files of every document being written in this process (files
 * with no name need no removing), leaving targets untouched. Only unlinks: safe inside a signal
 * handler (for SIGINT, SIGTERM, SIGHUP), after which the process must end without touching its
 * contexts again. */
void pdfw_remove_temporary_files(void);

/* Creates an empty file for the caller's own use beside the file `target` names (in its
 * folder), named as the engine's temporary documents are (".NAME.pdfw-PID-XXXXXX"), readable
 * and writable by its owner only, locked (flock) while the descriptor stays open, and known to
 * pdfw_remove_temporary_files() until pdfw_forget_temporary_file(*slot). Its name goes into
 * `name` (`size` bytes). Returns the descriptor (close-on-exec, read and write), or -1 with
 * errno set (ENAMETOOLONG: `name` is too small). *slot is -1 when no slot was free: the file
 * is then the caller's alone to remove. Never raises. */
int pdfw_create_temporary_file(const char *target, char *name, size_t size, int *slot);

/* Forgets a slot given by pdfw_create_temporary_file, once its file is renamed or removed;
 * -1 is ignored. Async-signal-safe. */
void pdfw_forget_temporary_file(int slot);

/* Removes what runs that were killed left in `folder`: temporary files and folders named
 * ".NAME.pdfw-PID-XXXXXX" whose process is gone and whose lock (flock) nobody holds; a
 * folder goes with the files in it. Failures are ignored. NULL is ignored. Never raises. */
void pdfw_remove_dead_temporaries(const char *folder);

/* The message of the context's last failure ("" if none). Valid until the next call on
 * the context. Never raises. */
const char *pdfw_get_last_error(pdfw_context *context);

/* The type of the context's last failure (0 if none). Never raises. */
int pdfw_get_last_error_type(pdfw_context *context);

/* The problem behind the context's last failure, into `problem` (kind PDFW_PROBLEM_NONE when
 * none); its strings are valid until the next call on the context. Returns 0, or -1 for a NULL
 * or released context or a NULL `problem`. Never raises. */
int pdfw_get_last_problem(pdfw_context *context, pdfw_problem *problem);

#ifdef __cplusplus
}
#endif

#endif
