#pragma once

#include <atomic>
#include <functional>
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

    // Also runs the cancel handler, on the calling thread.
    void RequestCancel();
    bool CancelRequested() const { return m_cancel; }

    // Work that waits inside a call of its own (a scanner reading a page) and cannot look at
    // CancelRequested meanwhile is stopped by a handler: it runs once the user asks to cancel, on
    // the thread that asks, or here at once when that has happened already. An empty handler
    // takes it away again; that returns only once a handler running meanwhile has returned, so
    // what the handler uses may go after it.
    void SetCancelHandler(std::function<void()> handler);

private:
    mutable std::mutex m_mutex;
    Snapshot m_now;
    std::atomic<bool> m_cancel{false};
    std::mutex m_handlerMutex;
    std::function<void()> m_onCancel;
};

// The window that shows a ProgressState: its caption and the caption of its cancel button.
struct ProgressRequest {
    std::string caption;
    std::string cancelText;
};
