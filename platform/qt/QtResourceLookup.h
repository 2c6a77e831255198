// The program's resources through the Qt resource system. A resource of
// type T and identifier I is the file ":/T/I" of the compiled-in resources,
// both parts taken as they are (so type "GIF" and identifier "BANNER" name
// ":/GIF/BANNER").
#pragma once

#include <QString>

#include "platform/ResourceLookup.h"

namespace korvane::platform::qt {

class QtResourceLookup : public ResourceLookup {
public:
    static QString ResourcePath(const std::string& ResourceID, const std::string& ResourceType);

    std::vector<std::uint8_t> ResourceData(const std::string& ResourceID,
                                           const std::string& ResourceType) const override;
};

}  // namespace korvane::platform::qt
