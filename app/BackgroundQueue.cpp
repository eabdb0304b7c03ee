#include "app/BackgroundQueue.h"

#include "platform/ui/UiToolkit.h"

BackgroundQueue::~BackgroundQueue() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void BackgroundQueue::run(Job job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { work(); });
        }
    }
    wake_.notify_all();
}

void BackgroundQueue::later(std::function<void()> then) {
    ui_.PostToUiThread([alive = std::weak_ptr<int>(alive_), then = std::move(then)] {
        if (alive.lock()) {
            then();
        }
    });
}

void BackgroundQueue::work() {
    const std::weak_ptr<int> alive = alive_;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        std::function<void()> done;
        try {
            done = job();
        } catch (...) {
            // A job reports its own failures; one that throws hands nothing back.
        }
        if (done) {
            // The queue goes away on the user-interface thread, where this runs too: checking
            // there is enough.
            ui_.PostToUiThread([alive, done = std::move(done)] {
                if (alive.lock()) {
                    done();
                }
            });
        }
    }
}
