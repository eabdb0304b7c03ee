#include "platform/qt/QtCollation.h"

#include <QFile>

namespace {

QString FileName(std::string_view name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

} // namespace

int QtCollation::Compare(std::string_view a, std::string_view b) const {
    const QLocale locale;
    if (locale.language() == QLocale::C) {
        return m_withoutLocale.Compare(a, b);
    }
    if (!m_collator || locale != m_locale) {
        m_locale = locale;
        m_collator.emplace(locale);
        m_collator->setNumericMode(true);
        m_collator->setCaseSensitivity(Qt::CaseInsensitive);
    }
    const int order = m_collator->compare(FileName(a), FileName(b));
    return (order > 0) - (order < 0);
}
