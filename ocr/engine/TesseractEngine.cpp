// The engine module: Tesseract behind the interface of ocr/EngineModule.h.
#include <memory>
#include <mutex>
#include <new>

#include <omp.h>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include "ocr/EngineModule.h"
#include "ocr/OcrError.h"
#include "ocr/engine/UprightPix.h"

namespace folvane::ocr {

namespace {

// Tesseract and Leptonica print their diagnostics on stderr; a program's stderr is ours. The
// settings are process-wide, so they are made once, before any engine runs.
void silenceLibraries(tesseract::TessBaseAPI &api) {
    static std::once_flag once;
    std::call_once(once, [&api] {
        setMsgSeverity(L_SEVERITY_NONE);
        api.SetVariable("debug_file", "/dev/null");
    });
}

std::string wordText(const char *utf8) {
    std::string text;
    for (const char *c = utf8; *c; ++c) {
        if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r') {
            text += *c;
        }
    }
    return text;
}

Word readWord(const tesseract::ResultIterator &it, std::string text) {
    Word word;
    word.text = std::move(text);
    it.BoundingBox(tesseract::RIL_WORD, &word.box.left, &word.box.top, &word.box.right,
                   &word.box.bottom);
    if (!it.BoundingBox(tesseract::RIL_TEXTLINE, &word.line.left, &word.line.top, &word.line.right,
                        &word.line.bottom)) {
        word.line = word.box;
    }
    // The line's baseline rather than the word's own: the words of a line then sit on one
    // baseline at one size, which readers need to see them as one line in order.
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool found = (it.Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2) && x2 != x1) ||
                 (it.Baseline(tesseract::RIL_WORD, &x1, &y1, &x2, &y2) && x2 != x1);
    if (found) {
        double slope = static_cast<double>(y2 - y1) / (x2 - x1);
        word.baselineLeft = static_cast<int>(y1 + slope * (word.box.left - x1) + 0.5);
        word.baselineRight = static_cast<int>(y1 + slope * (word.box.right - x1) + 0.5);
    } else {
        word.baselineLeft = word.baselineRight = word.box.bottom;
    }
    word.confidence = it.Confidence(tesseract::RIL_WORD);
    return word;
}

// What escaped the engine, as the failure the boundary hands over.
Failure failureOf(std::exception_ptr escaped) {
    try {
        std::rethrow_exception(escaped);
    } catch (const OcrError &error) {
        return error.failure();
    } catch (const std::bad_alloc &) {
        return {Failure::Kind::OutOfMemory, "", ""};
    } catch (const std::exception &error) {
        return {Failure::Kind::Failed, "", error.what()};
    } catch (...) {
        return {Failure::Kind::Failed, "", ""};
    }
}

class TesseractEngine final : public ModuleEngine {
public:
    TesseractEngine(const std::string &dataFolder, const std::string &languages) {
        silenceLibraries(api_);
        if (api_.Init(dataFolder.c_str(), languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
            throw OcrError({Failure::Kind::LanguageData, languages, dataFolder});
        }
        // The library's default reads a page as one block of text; pages have columns,
        // headings and stray marks, which the automatic layout analysis separates.
        api_.SetPageSegMode(tesseract::PSM_AUTO);
    }

    ~TesseractEngine() override {
        try {
            api_.End();
        } catch (...) {
            // Nothing may leave a destructor; the engine is gone either way.
        }
    }

    bool recognize(const PageImage &image, PageText &page, Failure &failure) noexcept override {
        try {
            page = read(image);
            return true;
        } catch (...) {
            api_.Clear();
            failure = failureOf(std::current_exception());
            return false;
        }
    }

private:
    PageText read(const PageImage &image) {
        // Tesseract spreads parts of a page over OpenMP threads that spin while they wait.
        // Pages are recognised side by side on workers already, and the extra threads only
        // compete with them for the cores: measured on two cores, one page took twice the
        // processor time and longer on the clock. So the engine keeps to the calling thread.
        omp_set_max_active_levels(0);
        PixPtr pix = uprightPix(image);
        PageText page;
        page.width = pixGetWidth(pix.get());
        page.height = pixGetHeight(pix.get());
        api_.SetImage(pix.get());
        if (image.dpi > 0) {
            api_.SetSourceResolution(image.dpi);
        }
        if (api_.Recognize(nullptr) != 0) {
            throw OcrError({Failure::Kind::Failed, "", "", page.width, page.height});
        }
        std::unique_ptr<tesseract::ResultIterator> it(api_.GetIterator());
        if (it && !it->Empty(tesseract::RIL_WORD)) {
            do {
                std::unique_ptr<char[]> utf8(it->GetUTF8Text(tesseract::RIL_WORD));
                std::string text = utf8 ? wordText(utf8.get()) : std::string();
                if (!text.empty()) {
                    page.words.push_back(readWord(*it, std::move(text)));
                }
            } while (it->Next(tesseract::RIL_WORD));
        }
        it.reset();
        api_.Clear();
        return page;
    }

    tesseract::TessBaseAPI api_;
};

class TesseractModule final : public EngineModule {
public:
    ModuleEngine *open(const std::string &dataFolder, const std::string &languages,
                       Failure &failure) noexcept override {
        try {
            return new TesseractEngine(dataFolder, languages);
        } catch (...) {
            failure = failureOf(std::current_exception());
            return nullptr;
        }
    }
};

} // namespace

} // namespace folvane::ocr

// The one symbol the module exports (the rest is hidden by the build).
extern "C" __attribute__((visibility("default"))) folvane::ocr::EngineModule *
folvane_ocr_engine_v2() {
    static folvane::ocr::TesseractModule module;
    return &module;
}
