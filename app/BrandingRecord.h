// The branding record "4.dat": five length-prefixed strings and four 16-bit
// integers in file order, then 20 reserved bytes. Strings hold the stored
// (encoded) code-page bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane::app {

struct BrandingRecord {
    std::string CompanyText;
    std::string TitleText;
    std::string LinkTarget;
    std::int16_t ShowPicture = 0;
    std::int16_t ShowAnimation = 0;
    std::string BannerFile;
    std::int16_t CompanyFontSize = 0;
    std::int16_t TitleFontSize = 0;
    std::string FontName;
    std::array<std::uint8_t, 20> Reserved{};

    friend bool operator==(const BrandingRecord&, const BrandingRecord&) = default;
};

// The longest record the layout allows: five strings of 65535 bytes with
// their counts, four integers and the reserved bytes.
inline constexpr std::size_t kLongestBrandingRecord = 5 * (2 + 65535) + 4 * 2 + 20;

// Reads a record from the start of `bytes`. Whatever the file ends before is
// left empty or 0; a length that runs past the end yields the bytes there.
BrandingRecord ParseBrandingRecord(std::span<const std::uint8_t> bytes);

// The record's file bytes. Throws std::out_of_range for a string longer than
// a 16-bit length can count.
std::vector<std::uint8_t> SerializeBrandingRecord(const BrandingRecord& record);

}  // namespace korvane::app
