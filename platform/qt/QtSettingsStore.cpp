#include "platform/qt/QtSettingsStore.h"

QtSettingsStore::QtSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("folvane"),
                 QStringLiteral("folvane")) {}

std::string QtSettingsStore::Read(const std::string &key) const {
    return m_settings.value(QString::fromStdString(key)).toByteArray().toStdString();
}

void QtSettingsStore::Write(const std::string &key, const std::string &value) {
    m_settings.setValue(QString::fromStdString(key), QByteArray::fromStdString(value));
    m_settings.sync();
}
