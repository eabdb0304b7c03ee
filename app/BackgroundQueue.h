#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class UiToolkit;

// Jobs run one after another on a thread of its own (started with the first job); what each
// job hands back runs on the user-interface thread. Going away drops the jobs not yet started,
// waits for the one running, and makes sure nothing handed back by a job runs any more.
class BackgroundQueue {
public:
    // A job runs on the background thread and returns what is to run on the user-interface
    // thread (or an empty function for nothing).
    using Job = std::function<std::function<void()>()>;

    explicit BackgroundQueue(UiToolkit &ui) : ui_(ui) {}
    ~BackgroundQueue();
    BackgroundQueue(const BackgroundQueue &) = delete;
    BackgroundQueue &operator=(const BackgroundQueue &) = delete;

    void run(Job job);
    // Runs `then` on the user-interface thread after what is already waiting there, unless the
    // queue is gone by then. Call it on the user-interface thread.
    void later(std::function<void()> then);

private:
    void work();

    UiToolkit &ui_;
    // Alive as long as the queue: what a job hands back runs only while it is.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};
