#include "app/qt/AppLanguage.h"

#include <QFileInfo>
#include <QLocale>

#include "platform/crt/ModulePath.h"
#include "platform/crt/SplitPath.h"
#include "platform/qt/QtTranslation.h"

namespace {

// The catalogue installed with the program (<prefix>/share/folvane/translations beside
// <prefix>/bin, also in the build tree), else the one built into it.
QString catalogueFile(const std::string &name) {
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
QLocale qtChinese() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::Chinese ? system
                                                 : QLocale(QLocale::Chinese, QLocale::China);
}

} // namespace

WindowLanguage localeLanguage() {
    std::vector<std::string> languages;
    for (const QString &language : QLocale::system().uiLanguages()) {
        languages.push_back(language.toStdString());
    }
    return languageForLocales(languages);
}

AppLanguage::AppLanguage() = default;

AppLanguage::~AppLanguage() {
    UseTranslation(nullptr);
}

bool AppLanguage::speak(WindowLanguage language, std::string &error) {
    auto translation = std::make_unique<QtTranslation>();
    const std::string catalogue = catalogueName(language);
    const bool loaded =
        catalogue.empty() || translation->LoadCatalogue(catalogueFile(catalogue), error);
    if (language == WindowLanguage::Chinese) {
        translation->LoadQtTexts(qtChinese());
    }
    UseTranslation(translation.get());
    translation_ = std::move(translation);
    install();
    return loaded;
}

void AppLanguage::install() {
    if (translation_) {
        translation_->Install();
    }
}
