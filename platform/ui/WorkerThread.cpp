#include "platform/ui/WorkerThread.h"

#include <utility>

WorkerThread::WorkerThread(std::function<void()> work) : m_work(std::move(work)) {
    m_thread = std::thread([this] {
        try {
            m_work();
        } catch (...) {
            m_failure = std::current_exception();
        }
        m_finished = true;
    });
}

WorkerThread::~WorkerThread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void WorkerThread::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_failure) {
        std::exception_ptr failure = std::exchange(m_failure, nullptr);
        std::rethrow_exception(failure);
    }
}
