// The branding a distributor hands to check and preview: a record file as
// the program reads it, or the INI form that build takes (a name ending in
// ".ini"), made into the record build would write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::brand {

// The record's bytes. Throws tools::FileError naming the file and the reason
// (an INI error names its line).
std::vector<std::uint8_t> LoadRecordBytes(const std::string& file);

// The folder the banner file is named relative to when none is given: the
// record's own.
std::string DefaultBannerFolder(const std::string& file);

}  // namespace korvane::brand
