// The program's own resources, read as raw bytes by identifier and type.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace korvane::platform {

// Raised for a resource the program does not carry; a "not found" error like
// a missing file, so callers can treat both alike.
class ResourceNotFoundError : public std::system_error {
public:
    ResourceNotFoundError(const std::string& ResourceID, const std::string& ResourceType)
        : std::system_error(std::make_error_code(std::errc::no_such_file_or_directory),
                            "no resource " + ResourceType + "/" + ResourceID)
    {
    }
};

class ResourceLookup {
public:
    virtual ~ResourceLookup() = default;

    // The resource's bytes; throws ResourceNotFoundError when there is none.
    virtual std::vector<std::uint8_t> ResourceData(const std::string& ResourceID,
                                                   const std::string& ResourceType) const = 0;
};

}  // namespace korvane::platform
