// An in-memory registry: keys by path, each with named values of any type,
// and the key paths that were opened.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace korvane::platform::fakes {

struct FakeRegistryValue {
    std::uint32_t type = REG_SZ;
    std::vector<std::uint8_t> bytes;
    // When set, the byte count reported instead of the real one.
    std::uint32_t reportedLength = 0;
};

// A string value as the registry stores it, with its terminating zero.
inline FakeRegistryValue RegString(const std::string& text)
{
    FakeRegistryValue value;
    value.bytes.assign(text.begin(), text.end());
    value.bytes.push_back(0);
    return value;
}

class FakeRegistry final : public Registry {
public:
    using Values = std::map<std::string, FakeRegistryValue>;

    std::unique_ptr<RegistryKey> OpenKey(HKEY root, const std::string& subKey) const override
    {
        opened.push_back(subKey);
        const auto key = keys.find(subKey);
        if (root != HKEY_LOCAL_MACHINE || key == keys.end()) return nullptr;
        return std::make_unique<Key>(key->second);
    }

    std::map<std::string, Values> keys;
    mutable std::vector<std::string> opened;

private:
    class Key final : public RegistryKey {
    public:
        explicit Key(Values values) : values_(std::move(values)) {}
        bool QueryValue(const std::string& valueName, std::span<std::uint8_t> buffer, std::uint32_t& type,
                        std::uint32_t& length) const override
        {
            const auto value = values_.find(valueName);
            if (value == values_.end() || value->second.bytes.size() > buffer.size()) return false;
            std::copy(value->second.bytes.begin(), value->second.bytes.end(), buffer.begin());
            type = value->second.type;
            length = value->second.reportedLength != 0 ? value->second.reportedLength
                                                       : static_cast<std::uint32_t>(value->second.bytes.size());
            return true;
        }

    private:
        Values values_;
    };
};

}  // namespace korvane::platform::fakes
