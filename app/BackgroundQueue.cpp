#include "app/BackgroundQueue.h"

#include "platform/ui/UiToolkit.h"

BackgroundQueue::~BackgroundQueue() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void BackgroundQueue::Run(Job job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
        if (!m_thread.joinable()) {
            m_thread = std::thread([this] { Work(); });
        }
    }
    m_wake.notify_all();
}

void BackgroundQueue::Later(std::function<void()> then) {
    m_ui.PostToUiThread([alive = std::weak_ptr<int>(m_alive), then = std::move(then)] {
        if (alive.lock()) {
            then();
        }
    });
}

void BackgroundQueue::Work() {
    const std::weak_ptr<int> alive = m_alive;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping) {
                return;
            }
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
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
            m_ui.PostToUiThread([alive, done = std::move(done)] {
                if (alive.lock()) {
                    done();
                }
            });
        }
    }
}
