// An in-memory settings store that counts its writes.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/SettingsStore.h"

namespace korvane::platform::fakes {

class FakeSettingsStore final : public SettingsStore {
public:
    using Address = std::tuple<std::string, std::string, std::string>;

    std::string GetSetting(const std::string& application, const std::string& section, const std::string& key,
                           const std::string& fallback) const override
    {
        const auto found = values.find({application, section, key});
        return found == values.end() ? fallback : found->second;
    }
    void SaveSetting(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        values[{application, section, key}] = value;
        ++saves;
    }

    std::map<Address, std::string> values;
    int saves = 0;
};

}  // namespace korvane::platform::fakes
