#pragma once

#include <QSettings>

#include "platform/ui/SettingsStore.h"

// Settings in the desktop's usual place (~/.config/folvane/folvane.conf), written through at
// once. Values keep their bytes, so a folder name in any encoding comes back unchanged.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    std::string Read(const std::string &key) const override;
    void Write(const std::string &key, const std::string &value) override;

private:
    mutable QSettings m_settings;
};
