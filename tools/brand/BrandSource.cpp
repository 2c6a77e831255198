#include "tools/brand/BrandSource.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "app/BrandingRecord.h"
#include "platform/Windows1252.h"
#include "platform/files/NativePath.h"
#include "tools/brand/BrandIni.h"
#include "tools/support/ToolFiles.h"

namespace korvane::brand {

namespace {

bool IsIniName(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.ends_with(".ini");
}

}  // namespace

std::vector<std::uint8_t> LoadRecordBytes(const std::string& file)
{
    const platform::FileBytes input = tools::ReadInput(file);
    std::vector<std::uint8_t> bytes(input.begin(), input.end());
    if (!IsIniName(file)) return bytes;
    const platform::Windows1252 encoding;
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    try {
        return app::SerializeBrandingRecord(ParseBrandIni(lines, encoding, kDefaultKey));
    } catch (const IniError& error) {
        throw tools::FileError(tools::DisplayName(file, false), error.what());
    }
}

std::string DefaultBannerFolder(const std::string& file)
{
    const std::filesystem::path folder = platform::NativePath(file).parent_path();
    return folder.empty() ? "." : folder.string();
}

}  // namespace korvane::brand
