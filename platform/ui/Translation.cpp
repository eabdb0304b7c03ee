#include "platform/ui/Translation.h"

#include <atomic>

namespace {

std::atomic<const Translation *> g_translation{nullptr};

std::string Translated(const char *context, const char *source, int n) {
    const Translation *translation = g_translation.load();
    return translation ? translation->Translate(context, source, n) : std::string(source);
}

} // namespace

void UseTranslation(const Translation *translation) {
    g_translation.store(translation);
}

std::string Tr(const char *context, const char *source) {
    return Translated(context, source, -1);
}

std::string Tr(const char *context, const char *source, const char * /*comment*/, int n) {
    std::string text = Translated(context, source, n);
    const std::string count = std::to_string(n);
    for (std::size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at)) {
        text.replace(at, 2, count);
        at += count.size();
    }
    return text;
}

bool SpeaksSourceLanguage() {
    const Translation *translation = g_translation.load();
    return !translation || translation->IsSourceLanguage();
}

std::string TableTranslation::Translate(const char *context, const char *source, int /*n*/) const {
    auto found = texts.find({context, source});
    return found == texts.end() ? std::string(source) : found->second;
}
