#include "pdfw/pipeline/PagePipeline.h"

#include <algorithm>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/pipeline/ImageLoader.h"

namespace folvane::pdfw {

namespace {

[[noreturn]] void failStopped() {
    fail(PDFW_RUNTIME_ERROR, problemWith(PDFW_PROBLEM_STOPPED, ""));
}

} // namespace

PagePipeline::PagePipeline(int workers)
    : limit_(static_cast<std::size_t>(std::max(workers, 1)) + 1) {
    try {
        for (int i = 0; i < std::max(workers, 1); ++i) {
            workers_.emplace_back([this] { work(); });
        }
    } catch (...) {
        stop();
        for (std::thread &worker : workers_) {
            worker.join();
        }
        throw;
    }
}

PagePipeline::~PagePipeline() {
    stop();
    for (std::thread &worker : workers_) {
        worker.join();
    }
}

void PagePipeline::announce(std::string key, ImageRequest request) {
    auto entry = std::make_shared<Entry>();
    entry->key = std::move(key);
    entry->request = std::move(request);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_) {
        return;
    }
    queue_.push_back(std::move(entry));
    changed_.notify_all();
}

bool PagePipeline::canStart() const {
    return started_ < queue_.size() && inFlight_ < limit_;
}

void PagePipeline::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopped_ || canStart(); });
        if (stopped_) {
            return;
        }
        std::shared_ptr<Entry> entry = queue_[started_++];
        entry->started = true;
        ++inFlight_;
        lock.unlock();
        std::optional<PreparedImage> image;
        std::exception_ptr failure;
        try {
            image = prepareImage(entry->request);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        if (entry->dropped || stopped_) {
            --inFlight_;
            changed_.notify_all();
            lock.unlock();
            image.reset(); // large buffers are unmapped outside the lock
            lock.lock();
            continue;
        }
        entry->image = std::move(image);
        entry->failure = failure;
        entry->done = true;
        changed_.notify_all();
    }
}

PagePipeline::Entries PagePipeline::drop(std::size_t count) {
    Entries dropped;
    for (std::size_t i = 0; i < count; ++i) {
        std::shared_ptr<Entry> entry = std::move(queue_.front());
        queue_.pop_front();
        if (entry->started) {
            --started_;
            if (entry->done) {
                --inFlight_;
            } else {
                entry->dropped = true; // its worker gives back the place when it is done
            }
        }
        dropped.push_back(std::move(entry));
    }
    changed_.notify_all();
    return dropped;
}

std::optional<PreparedImage> PagePipeline::take(const std::string &key) {
    std::shared_ptr<Entry> entry;
    Entries dropped;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (stopped_) {
            failStopped();
        }
        releaseTaken(); // a caller that did not say written() has finished with it now
        auto found = std::find_if(queue_.begin(), queue_.end(),
                                  [&](const auto &e) { return e->key == key; });
        if (found == queue_.end()) {
            return std::nullopt;
        }
        dropped = drop(static_cast<std::size_t>(found - queue_.begin()));
        entry = queue_.front();
        changed_.wait(lock, [&] { return stopped_ || entry->done; });
        if (stopped_) {
            failStopped();
        }
        queue_.pop_front();
        --started_;
        ++taken_;
    }
    // The place in flight stays taken until written(), also when preparing failed: the
    // caller's error handling calls written() as well.
    if (entry->failure) {
        std::rethrow_exception(entry->failure);
    }
    return std::move(entry->image);
}

void PagePipeline::written() {
    std::lock_guard<std::mutex> lock(mutex_);
    releaseTaken();
}

void PagePipeline::releaseTaken() {
    if (taken_ > 0) {
        --taken_;
        --inFlight_;
        changed_.notify_all();
    }
}

void PagePipeline::stop() {
    std::deque<std::shared_ptr<Entry>> gone; // freed after the lock is given back
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    gone.swap(queue_);
    started_ = 0;
    changed_.notify_all();
}

} // namespace folvane::pdfw
