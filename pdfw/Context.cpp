#include "pdfw/Context.h"

#include <cctype>
#include <cstring>
#include <utility>

#include "ocr/Languages.h"
#include "ocr/OcrError.h"
#include "pdfw/PdfwError.h"

pdfw_context::pdfw_context(pdfw_error_handler_proc errorHandler, const pdfw::MemoryProcs &procs,
                           void *userPointer)
    : handler(errorHandler), memory(procs), opaque(userPointer) {
    memory.context = this;
}

void pdfw_context::setParameter(const char *key, const char *value) {
    using pdfw::fail;
    if (!key || !value) {
        fail(PDFW_VALUE_ERROR, "pdfw_set_parameter: key and value must not be null");
    }
    if (std::strcmp(key, "compatibility") == 0) {
        if (current) {
            fail(PDFW_RUNTIME_ERROR, "pdfw_set_parameter: \"compatibility\" must be set before "
                                     "pdfw_open_file");
        }
        if (std::strlen(value) != 3 || value[0] != '1' || value[1] != '.' || value[2] < '3' ||
            value[2] > '7') {
            fail(PDFW_VALUE_ERROR, std::string("pdfw_set_parameter: compatibility \"") + value +
                                       "\" is not one of 1.3 to 1.7");
        }
        pdfMinor = value[2] - '0';
        return;
    }
    if (std::strcmp(key, "ocr") == 0) {
        if (current) {
            fail(PDFW_RUNTIME_ERROR,
                 "pdfw_set_parameter: \"ocr\" must be set before pdfw_open_file");
        }
        if (*value) {
            try {
                ocr::checkLanguages(value);
            } catch (const ocr::OcrError &error) {
                fail(PDFW_VALUE_ERROR, std::string("pdfw_set_parameter: ") + error.what());
            }
        }
        ocrLanguages = value;
        return;
    }
    if (std::strcmp(key, "binding") == 0) {
        binding = value;
        return;
    }
    fail(PDFW_VALUE_ERROR, std::string("pdfw_set_parameter: unknown parameter \"") + key + "\"");
}

bool pdfw_context::openFile(const char *filename) {
    using pdfw::fail;
    if (current) {
        fail(PDFW_RUNTIME_ERROR,
             "pdfw_open_file: a document is already open (call pdfw_close first)");
    }
    if (!filename || !*filename) {
        fail(PDFW_VALUE_ERROR, "pdfw_open_file: no file name");
    }
    std::string reason;
    auto output = pdfw::OutputFile::create(filename, memory, reason);
    if (!output) {
        lastType = PDFW_IO_ERROR;
        lastMessage = "pdfw_open_file: " + reason;
        return false;
    }
    current = std::make_unique<pdfw::Document>(std::move(output), pdfMinor, memory);
    if (!ocrLanguages.empty()) {
        current->enableTextLayer(ocrLanguages);
    }
    return true;
}

pdfw::Document &pdfw_context::document(const char *call) {
    if (!current) {
        pdfw::fail(PDFW_RUNTIME_ERROR,
                   std::string(call) + ": no document is open (call pdfw_open_file first)");
    }
    return *current;
}

int pdfw_context::loadImage(const char *type, const char *filename, const char *options, int page) {
    using pdfw::fail;
    pdfw::Document &doc = document("pdfw_load_image");
    if (!type || !filename || !options) {
        fail(PDFW_VALUE_ERROR, "pdfw_load_image: type, file name and options must not be null");
    }
    std::string kind;
    for (const char *c = type; *c; ++c) {
        kind += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    if (kind != "jpeg" && kind != "jpg" && kind != "tiff" && kind != "tif" && kind != "auto") {
        fail(PDFW_TYPE_ERROR, std::string("pdfw_load_image: image type \"") + type +
                                  "\" is not one of jpeg, tiff, auto");
    }
    for (const char *c = options; *c; ++c) {
        if (!std::isspace(static_cast<unsigned char>(*c))) {
            fail(PDFW_VALUE_ERROR, std::string("pdfw_load_image: unsupported options \"") +
                                       options + "\" (none are defined)");
        }
    }
    if (page < 1) {
        fail(PDFW_VALUE_ERROR,
             "pdfw_load_image: page " + std::to_string(page) + " (pages count from 1)");
    }
    if (!*filename) {
        fail(PDFW_VALUE_ERROR, "pdfw_load_image: no file name");
    }
    return doc.loadImage(filename, page);
}

void pdfw_context::closeCurrent() {
    pdfw::Document &doc = document("pdfw_close");
    if (doc.pageOpen()) {
        pdfw::fail(PDFW_RUNTIME_ERROR,
                   "pdfw_close: a page is still open (call pdfw_end_page first)");
    }
    try {
        doc.close();
    } catch (...) {
        current.reset();
        throw;
    }
    current.reset();
}
