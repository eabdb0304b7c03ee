// A scanner's options by their SANE names. Descriptors are looked up afresh on every call, so
// an option list the driver rebuilt after a change (SANE_INFO_RELOAD_OPTIONS) is always the one
// used.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sane/sane.h>

namespace folvane::scan {

// A numeric option's constraint, in the option's unit (fixed-point values as doubles).
struct NumberConstraint {
    std::vector<double> values; // a word list; empty for a range or no constraint
    std::optional<double> min, max;
    double quant = 0;
};

class SaneOptions {
public:
    SaneOptions(SANE_Handle handle, std::string device)
        : handle_(handle), device_(std::move(device)) {}

    const std::string &device() const { return device_; }

    // The option's descriptor when the scanner has it and it is active, else nullptr.
    const SANE_Option_Descriptor *active(const std::string &name) const;
    // Active and settable by software.
    bool settable(const std::string &name) const;

    // A string option's allowed words (empty without a string list).
    std::vector<std::string> words(const std::string &name) const;
    NumberConstraint constraint(const std::string &name) const;

    std::optional<std::string> getString(const std::string &name) const;
    std::optional<double> getNumber(const std::string &name) const;

    // Setters throw ScanFailure (InvalidOption) when the scanner refuses; `shown` is how the
    // value is named in that error (the number as the user gave it, for instance).
    void setString(const std::string &name, const std::string &value);
    void setNumber(const std::string &name, double value, const std::string &shown);
    void setBool(const std::string &name, bool value);
    // Any scalar option from text: a number, yes/no, or one of its words (any case).
    void setFromText(const std::string &name, const std::string &text);

private:
    int indexOf(const std::string &name) const; // 0 when missing
    const SANE_Option_Descriptor *writable(const std::string &name, const std::string &shown) const;
    void control(int index, void *value, const std::string &name, const std::string &shown);
    [[noreturn]] void refuse(const std::string &name, const std::string &shown,
                             const std::string &why) const;

    SANE_Handle handle_;
    std::string device_;
};

// The allowed values of a constraint for messages: "75, 150, 300" or "1..1200 in steps of 1".
std::string describeConstraint(const NumberConstraint &constraint);

} // namespace folvane::scan
