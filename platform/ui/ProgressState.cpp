#include "platform/ui/ProgressState.h"

#include <utility>

void ProgressState::Report(int value, int maximum, std::string text, std::string detail) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_now = Snapshot{value, maximum, std::move(text), std::move(detail)};
}

ProgressState::Snapshot ProgressState::Read() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_now;
}

void ProgressState::RequestCancel() {
    m_cancel = true;
    std::lock_guard<std::mutex> lock(m_handlerMutex);
    if (m_onCancel) {
        m_onCancel();
    }
}

void ProgressState::SetCancelHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(m_handlerMutex);
    m_onCancel = std::move(handler);
    if (m_onCancel && m_cancel) {
        m_onCancel();
    }
}
