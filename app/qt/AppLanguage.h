// The window in the user's language: the one the locale asks for, as Qt reports it (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG), with its catalogue and Qt's own texts for Qt's dialogs.
#pragma once

#include <memory>
#include <string>

#include "app/Language.h"

class QtTranslation;

// The language the user's locale asks for (languageForLocales over Qt's list of them).
WindowLanguage localeLanguage();

// The language the window's texts are in from now on; one object for the program's life.
class AppLanguage {
public:
    AppLanguage();
    ~AppLanguage();
    AppLanguage(const AppLanguage &) = delete;
    AppLanguage &operator=(const AppLanguage &) = delete;

    // Puts the window's texts into language: its catalogue (the copy installed beside the
    // program's data, else the one built into it) and, for Chinese, Qt's own Chinese. False,
    // with why, when the catalogue cannot be loaded: the texts then stay Chinese. Qt's own texts
    // reach Qt's widgets once the application exists: call Install then.
    bool speak(WindowLanguage language, std::string &error);
    void install();

private:
    std::unique_ptr<QtTranslation> translation_;
};
