#include "tests/pdfw/PdfwTestSupport.h"

namespace pdfw_test {

std::string NotesText(const folvane::pdfw::Notes &notes) {
    std::string text;
    for (const folvane::pdfw::Note &note : notes) {
        text += (text.empty() ? "" : "\n") + folvane::pdfw::describe(note);
    }
    return text;
}

Engine::Engine() {
    pdfw_boot();
    ctx_ = pdfw_new(&Engine::onError, nullptr, nullptr, nullptr, this);
}

Engine::~Engine() {
    pdfw_delete(ctx_);
    pdfw_shutdown();
}

void Engine::onError(pdfw_context *ctx, int type, const char *message) {
    auto *self = static_cast<Engine *>(pdfw_get_opaque(ctx));
    if (self->types_.empty()) {
        self->first_ = message;
    }
    self->types_.push_back(type);
    self->message_ = message;
}

bool Engine::writeDocument(const std::string &output, const std::vector<Page> &pages,
                           const char *compatibility) {
    int errors = errorCount();
    pdfw_set_parameter(ctx_, "compatibility", compatibility);
    if (pdfw_open_file(ctx_, output.c_str()) != 1) {
        return false;
    }
    for (const Page &page : pages) {
        pdfw_begin_page(ctx_, page.width, page.height);
        int image = pdfw_load_image(ctx_, "auto", page.image.c_str(), "", 1);
        pdfw_place_image(ctx_, image, 0, 0, page.scale);
        pdfw_close_image(ctx_, image);
        pdfw_end_page(ctx_);
    }
    pdfw_close(ctx_);
    return errorCount() == errors;
}

} // namespace pdfw_test
