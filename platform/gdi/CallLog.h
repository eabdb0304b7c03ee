// CallLog: the record of the calls made on a device context, so that tests can tell which
// way a drawing went. Holds at most kMaxCalls entries and counts the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct GdiCall {
    std::string name;
    std::vector<int64_t> args;
};

class CallLog {
public:
    static constexpr size_t kMaxCalls = 4096;

    void Add(const char *name, std::initializer_list<int64_t> args);
    void Clear();

    const std::vector<GdiCall> &Calls() const { return m_calls; }
    size_t Dropped() const { return m_dropped; }
    size_t Count(const std::string &name) const;
    // The first call of that name, or null.
    const GdiCall *Find(const std::string &name) const;
    // Names in order, for messages and whole-sequence checks.
    std::vector<std::string> Names() const;

private:
    std::vector<GdiCall> m_calls;
    size_t m_dropped = 0;
};
