#include "pdfw/RecognitionPool.h"

#include <cstdlib>

#include "ocr/OcrError.h"
#include "ocr/Recognizer.h"
#include "pdfw/OcrPixels.h"
#include "pdfw/PdfwError.h"

namespace pdfw {

int recognitionWorkers() {
    if (const char *text = std::getenv("FOLVANE_THREADS")) {
        char *end = nullptr;
        long value = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && value >= 1 && value <= 64) {
            return static_cast<int>(value);
        }
    }
    unsigned cores = std::thread::hardware_concurrency();
    return cores >= 1 ? static_cast<int>(cores) : 1;
}

RecognitionPool::RecognitionPool(std::string languages, int workers)
    : languages_(std::move(languages)) {
    for (int i = 0; i < workers; ++i) {
        workers_.emplace_back([this] { work(); });
    }
}

RecognitionPool::~RecognitionPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        tasks_.clear();
    }
    wake_.notify_all();
    for (std::thread &worker : workers_) {
        worker.join();
    }
}

RecognitionPool::Result RecognitionPool::recognize(const std::string &path, int page) {
    Task task{path, page, {}};
    Result result = task.promise.get_future().share();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
    return result;
}

void RecognitionPool::work() {
    std::unique_ptr<ocr::Recognizer> engine;
    while (true) {
        Task task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (stopping_) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        try {
            OcrPixels pixels = pixelsForOcr(task.path, task.page, MemoryProcs{});
            if (!engine) {
                engine = std::make_unique<ocr::Recognizer>(languages_);
            }
            task.promise.set_value(
                std::make_shared<const ocr::PageText>(engine->recognize(pixels.image)));
        } catch (const ocr::OcrError &error) {
            task.promise.set_exception(std::make_exception_ptr(
                PdfwError(PDFW_RUNTIME_ERROR, "\"" + task.path + "\": " + error.what())));
        } catch (...) {
            task.promise.set_exception(std::current_exception());
        }
    }
}

} // namespace pdfw
