// The host's store of a control's saved properties. Values travel as 64-bit
// integers, wide enough for flags (0 / 1), 16-bit numbers and 32-bit colours.
#pragma once

#include <cstdint>
#include <string>

namespace korvane::controls {

class PropertyBag {
public:
    virtual ~PropertyBag() = default;

    // The stored value, or DefaultValue when the key was never written.
    virtual std::int64_t ReadProperty(const std::string& Name, std::int64_t DefaultValue) const = 0;
    // A value equal to its default may be left out of the store.
    virtual void WriteProperty(const std::string& Name, std::int64_t Value, std::int64_t DefaultValue) = 0;
};

}  // namespace korvane::controls
