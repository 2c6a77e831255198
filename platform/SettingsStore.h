// The per-user settings store: string values addressed by application,
// section and key, kept between runs.
#pragma once

#include <string>

namespace korvane::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or `fallback` when the key was never saved.
    virtual std::string GetSetting(const std::string& application, const std::string& section, const std::string& key,
                                   const std::string& fallback) const = 0;
    virtual void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

}  // namespace korvane::platform
