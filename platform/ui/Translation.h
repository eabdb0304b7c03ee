// The window's texts in the user's language. Every text is written in the window's source
// language, the original Chinese, and passes through Tr where it is shown; a Translation turns
// it into the language the window speaks. Tr's arguments are literals at every call, so that
// lupdate (told that Tr is a translate call and TR_NOOP a QT_TRANSLATE_NOOP) finds each text
// for the catalogue; a text kept in a constant is marked where it is defined with TR_NOOP (one
// that counts something with TR_N_NOOP) and passed through Tr where it is used, under the same
// context.
#pragma once

#include <map>
#include <string>
#include <utility>

// Mark a text for the catalogue without translating it there; TR_N_NOOP one that counts.
#define TR_NOOP(context, source) source
#define TR_N_NOOP(context, source) source

class Translation {
public:
    virtual ~Translation() = default;
    // source in the window's language; source itself when the catalogue has no text for it.
    // With n >= 0 the text counts n things: the form the language uses for n (its %n left as
    // it is).
    virtual std::string Translate(const char *context, const char *source, int n) const = 0;
    // True when the texts are shown as written, in the source language.
    virtual bool IsSourceLanguage() const = 0;
};

// The translation the window's texts go through from now on; null: texts as written. The
// translation must outlive its use. Set it before windows are made, not while other threads
// ask for texts.
void UseTranslation(const Translation *translation);

// The text in the window's language (safe from any thread).
std::string Tr(const char *context, const char *source);
// A text that counts n things ("共 %n 页"), in the form its language uses for n, with %n
// replaced by n. The comment is lupdate's (always null here).
std::string Tr(const char *context, const char *source, const char *comment, int n);
// True while the window speaks its source language, Chinese.
bool SpeaksSourceLanguage();

// A translation from a table kept in memory: the headless twin of the catalogue the real window
// loads, for tests.
class TableTranslation : public Translation {
public:
    std::string Translate(const char *context, const char *source, int n) const override;
    bool IsSourceLanguage() const override { return false; }

    // (context, source) -> text; a counting text has one form for every n.
    std::map<std::pair<std::string, std::string>, std::string> texts;
};
