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

    explicit BackgroundQueue(UiToolkit &ui) : m_ui(ui) {}
    ~BackgroundQueue();
    BackgroundQueue(const BackgroundQueue &) = delete;
    BackgroundQueue &operator=(const BackgroundQueue &) = delete;

    void Run(Job job);
    // Runs `then` on the user-interface thread after what is already waiting there, unless the
    // queue is gone by then. Call it on the user-interface thread.
    void Later(std::function<void()> then);

private:
    void Work();

    UiToolkit &m_ui;
    // Alive as long as the queue: what a job hands back runs only while it is.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};
