// Text recognition of a document's images on worker threads: one engine per worker, loaded
// at its first page and reused for the rest, so that pages are recognised side by side
// while the writer goes on with the next ones.
#pragma once

#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ocr/PageText.h"

namespace pdfw {

// Workers for a document: FOLVANE_THREADS when it holds a number from 1 to 64, else one per
// core.
int recognitionWorkers();

class RecognitionPool {
public:
    using Words = std::shared_ptr<const ocr::PageText>;
    using Result = std::shared_future<Words>;

    RecognitionPool(std::string languages, int workers);
    // Drops the pages not started, waits for those being recognised and ends the workers.
    ~RecognitionPool();
    RecognitionPool(const RecognitionPool &) = delete;
    RecognitionPool &operator=(const RecognitionPool &) = delete;

    // Queues page `page` of the image file at `path`. The result holds its words, or the
    // PdfwError naming the file that reading or recognising it raised. The file is read
    // again on the worker (with the system's memory, not the caller's procedures, which need
    // not be safe to call from another thread).
    Result recognize(const std::string &path, int page);

private:
    struct Task {
        std::string path;
        int page = 1;
        std::promise<Words> promise;
    };

    void work();

    std::string languages_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace pdfw
