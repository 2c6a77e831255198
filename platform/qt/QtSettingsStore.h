// The settings store on QSettings: one store per application name
// (organisation and application alike), sections as groups.
#pragma once

#include <QString>

#include "platform/SettingsStore.h"

namespace korvane::platform::qt {

class QtSettingsStore final : public SettingsStore {
public:
    // The user's native store.
    QtSettingsStore() = default;
    // An INI file of its own, for isolated runs.
    explicit QtSettingsStore(QString iniFile) : iniFile_(std::move(iniFile)) {}

    std::string GetSetting(const std::string& application, const std::string& section, const std::string& key,
                           const std::string& fallback) const override;
    void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    QString iniFile_;
};

}  // namespace korvane::platform::qt
