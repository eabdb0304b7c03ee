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
