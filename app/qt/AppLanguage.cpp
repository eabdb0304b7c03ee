#include "app/qt/AppLanguage.h"

#include <QFileInfo>
#include <QLocale>

#include "platform/crt/ModulePath.h"
#include "platform/crt/SplitPath.h"
#include "platform/qt/QtTranslation.h"

namespace {

// The catalogue installed with the program (<prefix>/share/folvane/translations beside
// <prefix>/bin, also in the build tree), else the one built into it.
QString CatalogueFile(const std::string &name) {
    const SplitPathParts exe = _splitpath(GetModuleFileNameA());
    const QString installed = QString::fromStdString(
        exe.drive + exe.dir + "../share/folvane/translations/" + name + ".qm");
    if (QFileInfo::exists(installed)) {
        return installed;
    }
    return QStringLiteral(":/i18n/") + QString::fromStdString(name) + QStringLiteral(".qm");
}

// Qt's own texts in the user's Chinese (zh_TW has its own), or in simplified Chinese for the
// C locale and any other.
QLocale QtChinese() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::Chinese ? system
                                                 : QLocale(QLocale::Chinese, QLocale::China);
}

} // namespace

WindowLanguage LocaleLanguage() {
    std::vector<std::string> languages;
    for (const QString &language : QLocale::system().uiLanguages()) {
        languages.push_back(language.toStdString());
    }
    return LanguageForLocales(languages);
}

AppLanguage::AppLanguage() = default;

AppLanguage::~AppLanguage() {
    UseTranslation(nullptr);
}

bool AppLanguage::Speak(WindowLanguage language, std::string &error) {
    auto translation = std::make_unique<QtTranslation>();
    const std::string catalogue = CatalogueName(language);
    const bool loaded =
        catalogue.empty() || translation->LoadCatalogue(CatalogueFile(catalogue), error);
    if (language == WindowLanguage::Chinese) {
        translation->LoadQtTexts(QtChinese());
    }
    UseTranslation(translation.get());
    m_translation = std::move(translation);
    Install();
    return loaded;
}

void AppLanguage::Install() {
    if (m_translation) {
        m_translation->Install();
    }
}
