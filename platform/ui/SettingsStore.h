#pragma once

#include <string>

// Values a program keeps between runs, under keys of its choosing, in the desktop's usual place.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or "" when none is stored.
    virtual std::string Read(const std::string &key) const = 0;
    virtual void Write(const std::string &key, const std::string &value) = 0;
};
