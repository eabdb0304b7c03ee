#include "platform/gdi/CallLog.h"

#include <algorithm>

void CallLog::Add(const char *name, std::initializer_list<int64_t> args) {
    if (m_calls.size() >= kMaxCalls) {
        ++m_dropped;
        return;
    }
    m_calls.push_back(GdiCall{name, args});
}

void CallLog::Clear() {
    m_calls.clear();
    m_dropped = 0;
}

size_t CallLog::Count(const std::string &name) const {
    return static_cast<size_t>(std::count_if(m_calls.begin(), m_calls.end(),
                                             [&](const GdiCall &c) { return c.name == name; }));
}

const GdiCall *CallLog::Find(const std::string &name) const {
    auto it = std::find_if(m_calls.begin(), m_calls.end(),
                           [&](const GdiCall &c) { return c.name == name; });
    return it == m_calls.end() ? nullptr : &*it;
}

std::vector<std::string> CallLog::Names() const {
    std::vector<std::string> names;
    names.reserve(m_calls.size());
    for (const GdiCall &c : m_calls) {
        names.push_back(c.name);
    }
    return names;
}
