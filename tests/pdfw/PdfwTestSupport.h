// The engine driven from the engine's tests: a context whose error handler records every error
// and returns, and whole documents of one image per page.
#pragma once

#include <string>
#include <vector>

#include "pdfw/core/Problem.h"
#include "pdfw/pdfw.h"

namespace pdfw_test {

// The engine's English lines for `notes`, one per line ("" for none).
std::string NotesText(const folvane::pdfw::Notes &notes);

// The engine with a handler that records every error and returns.
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    pdfw_context *ctx() const { return ctx_; }
    int lastType() const { return types_.empty() ? 0 : types_.back(); }
    int firstType() const { return types_.empty() ? 0 : types_.front(); }
    const std::string &firstMessage() const { return first_; }
    const std::string &lastMessage() const { return message_; }
    int errorCount() const { return static_cast<int>(types_.size()); }

    struct Page {
        std::string image;
        float width; // page size in points
        float height;
        float scale = 1.0f;
    };
    // A whole document of one page per entry, the image at the origin. False on any error.
    bool writeDocument(const std::string &output, const std::vector<Page> &pages,
                       const char *compatibility = "1.4");

private:
    static void onError(pdfw_context *ctx, int type, const char *message);
    pdfw_context *ctx_;
    std::vector<int> types_;
    std::string message_;
    std::string first_;
};

} // namespace pdfw_test
