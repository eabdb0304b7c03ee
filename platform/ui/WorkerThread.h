#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

// One piece of work on a thread of its own, for the modal progress windows of the toolkits. Any
// exception the work throws is kept and thrown again by Join, on the joining thread.
class WorkerThread {
public:
    explicit WorkerThread(std::function<void()> work);
    ~WorkerThread();
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // True once the work has returned or thrown.
    bool Finished() const { return m_finished; }
    // Waits for the thread, then rethrows what the work threw.
    void Join();

private:
    std::function<void()> m_work;
    std::exception_ptr m_failure;
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};
