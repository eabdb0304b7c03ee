#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <string>

#include "platform/ui/Translation.h"

// The window's texts through Qt Linguist catalogues (.qm files): the program's own catalogue for
// the window's language, none for its source language (the texts are shown as written), and
// Qt's translations of its own dialogs and buttons (the file dialog, "OK" in a message box).
// Works before the application object exists (for --help); Qt's own texts reach Qt's widgets
// once Install has put them on the application.
class QtTranslation : public Translation {
public:
    QtTranslation() = default;
    QtTranslation(const QtTranslation &) = delete;
    QtTranslation &operator=(const QtTranslation &) = delete;

    // Loads the program's catalogue; false, with why, when the file cannot be loaded (the
    // texts then stay as written).
    bool LoadCatalogue(const QString &file, std::string &error);
    // Loads Qt's own translations for locale (qtbase_*.qm from Qt's translations folder);
    // false when Qt has none for it.
    bool LoadQtTexts(const QLocale &locale);
    // Puts Qt's own translations on the running application (again after a new load).
    void Install();

    std::string Translate(const char *context, const char *source, int n) const override;
    bool IsSourceLanguage() const override { return m_program.isEmpty(); }

private:
    QTranslator m_program;
    QTranslator m_qt;
};
