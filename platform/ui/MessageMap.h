#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/ui/UiMessage.h"

// Files dropped on a control: what a WM_DROPFILES message's param points to.
struct DroppedFiles {
    std::vector<std::string> paths; // full paths, in the order the desktop gave them
};
using HDROP = const DroppedFiles *;

// A dialog's table of connections from messages to its handlers, searched in order; the first
// matching entry handles the message.
template <class T> struct MessageMapEntry {
    UINT message = 0;
    int code = 0;
    int id = 0;
    void (T::*onCommand)() = nullptr;
    void (T::*onNotify)(NMHDR *, LRESULT *) = nullptr;
    void (T::*onSysCommand)(UINT, std::intptr_t) = nullptr;
    void (T::*onDropFiles)(HDROP) = nullptr;
};

// A button click or a menu command (both arrive with code 0).
template <class T> constexpr MessageMapEntry<T> OnCommand(int id, void (T::*handler)()) {
    return {WM_COMMAND, BN_CLICKED, id, handler, nullptr, nullptr, nullptr};
}

// The user chose another item of a drop-down list.
template <class T> constexpr MessageMapEntry<T> OnSelChange(int id, void (T::*handler)()) {
    return {WM_COMMAND, CBN_SELCHANGE, id, handler, nullptr, nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnNotify(int code, int id, void (T::*handler)(NMHDR *, LRESULT *)) {
    return {WM_NOTIFY, code, id, nullptr, handler, nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnSysCommand(void (T::*handler)(UINT, std::intptr_t)) {
    return {WM_SYSCOMMAND, 0, 0, nullptr, nullptr, handler, nullptr};
}

// A window message without parameters (WM_SIZE).
template <class T> constexpr MessageMapEntry<T> OnMessage(UINT message, void (T::*handler)()) {
    return {message, 0, 0, handler, nullptr, nullptr, nullptr};
}

template <class T> constexpr MessageMapEntry<T> OnDropFiles(int id, void (T::*handler)(HDROP)) {
    return {WM_DROPFILES, 0, id, nullptr, nullptr, nullptr, handler};
}

// Runs the handler of the first entry that matches; false when none does. A notification's
// result starts at 0.
template <class T>
bool DispatchMessageMap(T &target, std::span<const MessageMapEntry<T>> map, const UiMessage &msg,
                        LRESULT *result) {
    for (const MessageMapEntry<T> &entry : map) {
        if (entry.message != msg.message) {
            continue;
        }
        if (msg.message == WM_SYSCOMMAND) {
            (target.*entry.onSysCommand)(static_cast<UINT>(msg.id), msg.param);
            return true;
        }
        if (entry.id != msg.id || entry.code != msg.code) {
            continue;
        }
        if (entry.onCommand) {
            (target.*entry.onCommand)();
            return true;
        }
        if (entry.onDropFiles) {
            (target.*entry.onDropFiles)(reinterpret_cast<HDROP>(msg.param));
            return true;
        }
        NMHDR header{msg.id, msg.code, msg.item, msg.target};
        *result = 0;
        (target.*entry.onNotify)(&header, result);
        return true;
    }
    return false;
}
