#pragma once

#include <atomic>
#include <mutex>
#include <string>

// How far work running on another thread has got, and whether the user asked it to stop. The
// worker reports, the window that shows the progress reads and asks to cancel; every operation
// may be called from any thread.
class ProgressState {
public:
    struct Snapshot {
        int value = 0;
        int maximum = 0;
        std::string text;   // the main line, such as the page count
        std::string detail; // a second line, such as the current file
    };

    void Report(int value, int maximum, std::string text, std::string detail);
    Snapshot Read() const;

    void RequestCancel() { m_cancel = true; }
    bool CancelRequested() const { return m_cancel; }

private:
    mutable std::mutex m_mutex;
    Snapshot m_now;
    std::atomic<bool> m_cancel{false};
};

// The window that shows a ProgressState: its caption and the caption of its cancel button.
struct ProgressRequest {
    std::string caption;
    std::string cancelText;
};
