#include "platform/qt/QtTranslation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

bool QtTranslation::LoadCatalogue(const QString &file, std::string &error) {
    if (m_program.load(file)) {
        return true;
    }
    error = (QFileInfo::exists(file) ? "not a Qt catalogue: " : "no such catalogue: ") +
            file.toStdString();
    return false;
}

bool QtTranslation::LoadQtTexts(const QLocale &locale) {
    return m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void QtTranslation::Install() {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    QCoreApplication::removeTranslator(&m_qt);
    if (!m_qt.isEmpty()) {
        QCoreApplication::installTranslator(&m_qt);
    }
}

std::string QtTranslation::Translate(const char *context, const char *source, int n) const {
    if (m_program.isEmpty()) {
        return source;
    }
    const QString text = m_program.translate(context, source, nullptr, n);
    return text.isEmpty() ? std::string(source) : text.toStdString();
}
