// The windows load no resource through the lookup; whatever is asked for is missing.
#pragma once

#include "platform/ResourceLookup.h"

namespace korvane::platform::fakes {

class FakeResourceLookup : public ResourceLookup {
public:
    std::vector<std::uint8_t> ResourceData(const std::string& ResourceID,
                                           const std::string& ResourceType) const override
    {
        throw ResourceNotFoundError(ResourceID, ResourceType);
    }
};

}  // namespace korvane::platform::fakes
