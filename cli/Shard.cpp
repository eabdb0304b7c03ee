#include "cli/Shard.h"

#include <cstdlib>

#include "cli/Texts.h"

namespace folvane::cli {

namespace {

// A decimal number of at most 9 digits; nullopt for anything else.
std::optional<std::size_t> smallNumber(const std::string &text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    std::size_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

bool isVariableName(const std::string &text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) {
        return false;
    }
    for (char c : text) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_')) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<Shard> parseShard(const std::string &text, std::string &reason) {
    const std::size_t slash = text.find('/');
    const std::string first = slash == std::string::npos ? "" : text.substr(0, slash);
    const std::optional<std::size_t> count =
        slash == std::string::npos ? std::nullopt : smallNumber(text.substr(slash + 1));
    if (!count || *count == 0 || (!smallNumber(first) && !isVariableName(first))) {
        reason = fill(_("--shard takes K/N, K from 0 to N-1 or a variable that holds it, not "
                        "\"%1\""),
                      {text});
        return std::nullopt;
    }
    std::string indexText = first;
    if (!smallNumber(first)) {
        const char *value = std::getenv(first.c_str());
        if (value == nullptr) {
            reason = fill(_("--shard: the environment variable %1 is not set"), {first});
            return std::nullopt;
        }
        indexText = value;
    }
    const std::optional<std::size_t> index = smallNumber(indexText);
    if (!index || *index >= *count) {
        reason = fill(_("--shard: the index \"%1\" is not a number from 0 to %2"),
                      {indexText, std::to_string(*count - 1)});
        return std::nullopt;
    }
    return Shard{*index, *count};
}

} // namespace folvane::cli
