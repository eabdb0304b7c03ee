#include "scan/SaneOptions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "scan/SaneLibrary.h"
#include "scan/ScanError.h"

namespace folvane::scan {

namespace {

// No scanner has this many options; a driver that never ends its list stops here.
constexpr int kMaxOptions = 4096;
// The largest option value read or written (a long string list entry, a gamma table).
constexpr SANE_Int kMaxValueSize = 1 << 20;

std::string formatNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool isNumeric(const SANE_Option_Descriptor &d) {
    return d.type == SANE_TYPE_INT || d.type == SANE_TYPE_FIXED;
}

double toDouble(const SANE_Option_Descriptor &d, SANE_Word word) {
    return d.type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : static_cast<double>(word);
}

std::string joinWords(const std::vector<std::string> &words) {
    std::string text;
    for (const std::string &word : words) {
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}

std::optional<bool> parseSwitch(const std::string &text) {
    for (const char *yes : {"yes", "true", "on", "1"}) {
        if (strcasecmp(text.c_str(), yes) == 0) {
            return true;
        }
    }
    for (const char *no : {"no", "false", "off", "0"}) {
        if (strcasecmp(text.c_str(), no) == 0) {
            return false;
        }
    }
    return std::nullopt;
}

} // namespace

std::string describeConstraint(const NumberConstraint &constraint) {
    if (!constraint.values.empty()) {
        std::vector<std::string> words;
        for (double value : constraint.values) {
            words.push_back(formatNumber(value));
        }
        return joinWords(words);
    }
    if (constraint.min && constraint.max) {
        std::string text = formatNumber(*constraint.min) + ".." + formatNumber(*constraint.max);
        if (constraint.quant > 0) {
            text += " in steps of " + formatNumber(constraint.quant);
        }
        return text;
    }
    return "";
}

int SaneOptions::indexOf(const std::string &name) const {
    for (int i = 1; i < kMaxOptions; ++i) {
        const SANE_Option_Descriptor *d = sane().getOptionDescriptor(handle_, i);
        if (d == nullptr) {
            return 0;
        }
        if (d->name != nullptr && name == d->name) {
            return i;
        }
    }
    return 0;
}

const SANE_Option_Descriptor *SaneOptions::active(const std::string &name) const {
    int index = indexOf(name);
    if (index == 0) {
        return nullptr;
    }
    const SANE_Option_Descriptor *d = sane().getOptionDescriptor(handle_, index);
    if (d == nullptr || !SANE_OPTION_IS_ACTIVE(d->cap) || d->size < 0 || d->size > kMaxValueSize) {
        return nullptr;
    }
    return d;
}

bool SaneOptions::settable(const std::string &name) const {
    const SANE_Option_Descriptor *d = active(name);
    return d != nullptr && SANE_OPTION_IS_SETTABLE(d->cap);
}

std::vector<std::string> SaneOptions::words(const std::string &name) const {
    std::vector<std::string> words;
    const SANE_Option_Descriptor *d = active(name);
    if (d == nullptr || d->type != SANE_TYPE_STRING ||
        d->constraint_type != SANE_CONSTRAINT_STRING_LIST || d->constraint.string_list == nullptr) {
        return words;
    }
    for (int i = 0; i < kMaxOptions && d->constraint.string_list[i] != nullptr; ++i) {
        words.emplace_back(d->constraint.string_list[i]);
    }
    return words;
}

NumberConstraint SaneOptions::constraint(const std::string &name) const {
    NumberConstraint constraint;
    const SANE_Option_Descriptor *d = active(name);
    if (d == nullptr || !isNumeric(*d)) {
        return constraint;
    }
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range != nullptr) {
        constraint.min = toDouble(*d, d->constraint.range->min);
        constraint.max = toDouble(*d, d->constraint.range->max);
        constraint.quant = toDouble(*d, d->constraint.range->quant);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST &&
               d->constraint.word_list != nullptr) {
        // The first word is the number of words after it.
        const SANE_Word count = d->constraint.word_list[0];
        for (SANE_Word i = 1; i <= count && i < kMaxOptions; ++i) {
            constraint.values.push_back(toDouble(*d, d->constraint.word_list[i]));
        }
    }
    return constraint;
}

std::optional<std::string> SaneOptions::getString(const std::string &name) const {
    const SANE_Option_Descriptor *d = active(name);
    if (d == nullptr || d->type != SANE_TYPE_STRING) {
        return std::nullopt;
    }
    std::vector<char> value(static_cast<std::size_t>(d->size) + 1, '\0');
    if (sane().controlOption(handle_, indexOf(name), SANE_ACTION_GET_VALUE, value.data(),
                             nullptr) != SANE_STATUS_GOOD) {
        return std::nullopt;
    }
    return std::string(value.data());
}

std::optional<double> SaneOptions::getNumber(const std::string &name) const {
    const SANE_Option_Descriptor *d = active(name);
    if (d == nullptr || !isNumeric(*d) || d->size < static_cast<SANE_Int>(sizeof(SANE_Word))) {
        return std::nullopt;
    }
    // An array option gives its first value.
    std::vector<SANE_Word> value(static_cast<std::size_t>(d->size) / sizeof(SANE_Word));
    if (sane().controlOption(handle_, indexOf(name), SANE_ACTION_GET_VALUE, value.data(),
                             nullptr) != SANE_STATUS_GOOD) {
        return std::nullopt;
    }
    return toDouble(*d, value[0]);
}

void SaneOptions::refuse(const std::string &name, const std::string &shown,
                         const std::string &why) const {
    ScanError error;
    error.kind = ScanErrorKind::InvalidOption;
    error.device = device_;
    error.option = name;
    error.value = shown;
    error.detail = why;
    throw ScanFailure(error);
}

const SANE_Option_Descriptor *SaneOptions::writable(const std::string &name,
                                                    const std::string &shown) const {
    int index = indexOf(name);
    if (index == 0) {
        refuse(name, shown, "the scanner has no such option");
    }
    const SANE_Option_Descriptor *d = sane().getOptionDescriptor(handle_, index);
    if (d == nullptr || !SANE_OPTION_IS_ACTIVE(d->cap)) {
        refuse(name, shown, "the option is not available with the current settings");
    }
    if (!SANE_OPTION_IS_SETTABLE(d->cap)) {
        refuse(name, shown, "the option cannot be set from a program");
    }
    if (d->size < 0 || d->size > kMaxValueSize) {
        refuse(name, shown, "the scanner describes the option wrongly");
    }
    return d;
}

void SaneOptions::control(int index, void *value, const std::string &name,
                          const std::string &shown) {
    SANE_Int info = 0;
    SANE_Status status = sane().controlOption(handle_, index, SANE_ACTION_SET_VALUE, value, &info);
    if (status == SANE_STATUS_GOOD) {
        return;
    }
    std::string offered = joinWords(words(name));
    if (offered.empty()) {
        offered = describeConstraint(constraint(name));
    }
    std::string why = sane().strstatus(status);
    if (!offered.empty()) {
        why += "; it offers " + offered;
    }
    refuse(name, shown, why);
}

void SaneOptions::setString(const std::string &name, const std::string &value) {
    const SANE_Option_Descriptor *d = writable(name, value);
    if (d->type != SANE_TYPE_STRING) {
        refuse(name, value, "the option does not take words");
    }
    if (value.size() >= static_cast<std::size_t>(d->size)) {
        refuse(name, value, "the value is too long for the option");
    }
    std::vector<char> buffer(static_cast<std::size_t>(d->size), '\0');
    std::memcpy(buffer.data(), value.data(), value.size());
    control(indexOf(name), buffer.data(), name, value);
}

void SaneOptions::setNumber(const std::string &name, double value, const std::string &shown) {
    const SANE_Option_Descriptor *d = writable(name, shown);
    if (!isNumeric(*d) || d->size != static_cast<SANE_Int>(sizeof(SANE_Word))) {
        refuse(name, shown, "the option does not take a single number");
    }
    const double limit = d->type == SANE_TYPE_FIXED ? 32767.0 : 2147483647.0;
    if (!std::isfinite(value) || std::fabs(value) > limit) {
        refuse(name, shown, "the number is out of range");
    }
    SANE_Word word =
        d->type == SANE_TYPE_FIXED ? SANE_FIX(value) : static_cast<SANE_Word>(std::lround(value));
    control(indexOf(name), &word, name, shown);
}

void SaneOptions::setBool(const std::string &name, bool value) {
    const std::string shown = value ? "yes" : "no";
    const SANE_Option_Descriptor *d = writable(name, shown);
    if (d->type != SANE_TYPE_BOOL) {
        refuse(name, shown, "the option is not a switch");
    }
    SANE_Word word = value ? SANE_TRUE : SANE_FALSE;
    control(indexOf(name), &word, name, shown);
}

void SaneOptions::setFromText(const std::string &name, const std::string &text) {
    const SANE_Option_Descriptor *d = writable(name, text);
    switch (d->type) {
    case SANE_TYPE_BOOL: {
        std::optional<bool> on = parseSwitch(text);
        if (!on) {
            refuse(name, text, "the option is a switch: yes or no");
        }
        setBool(name, *on);
        return;
    }
    case SANE_TYPE_INT:
    case SANE_TYPE_FIXED: {
        char *end = nullptr;
        double value = std::strtod(text.c_str(), &end);
        if (text.empty() || end == nullptr || *end != '\0') {
            refuse(name, text, "the option takes a number");
        }
        setNumber(name, value, text);
        return;
    }
    case SANE_TYPE_STRING:
        // The driver's own spelling of a word given in another case.
        for (const std::string &word : words(name)) {
            if (strcasecmp(word.c_str(), text.c_str()) == 0) {
                setString(name, word);
                return;
            }
        }
        setString(name, text);
        return;
    case SANE_TYPE_BUTTON:
        control(indexOf(name), nullptr, name, text);
        return;
    default:
        refuse(name, text, "the option takes no value");
    }
}

} // namespace folvane::scan
