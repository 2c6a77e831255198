// Read-only access to the machine-wide registry: open a key, read one named
// value as raw bytes with its type, close the key (by releasing it).
// Key paths use "\" between their parts, as the registry writes them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace korvane::platform {

using HKEY = std::uint32_t;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

// Value types, as the registry numbers them.
constexpr std::uint32_t REG_SZ = 1;

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Copies the bytes of `valueName` into `buffer` (a string with its
    // terminating zero) and reports its type and byte count. False when the
    // value does not exist or is longer than the buffer.
    virtual bool QueryValue(const std::string& valueName, std::span<std::uint8_t> buffer, std::uint32_t& type,
                            std::uint32_t& length) const = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // The key `subKey` under `root`, opened for reading only; null when it
    // does not exist or cannot be read.
    virtual std::unique_ptr<RegistryKey> OpenKey(HKEY root, const std::string& subKey) const = 0;
};

}  // namespace korvane::platform
