#include "app/BrandingRecord.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace korvane::app {
namespace {

// Reads fields in order and stops short at the end of the bytes.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        const std::size_t taken = std::min(count, bytes_.size() - position_);
        const auto field = bytes_.subspan(position_, taken);
        position_ += taken;
        return field;
    }

    std::uint16_t Word()
    {
        const auto field = Bytes(2);
        std::uint16_t value = 0;
        for (std::size_t i = 0; i < field.size(); ++i)
            value |= static_cast<std::uint16_t>(field[i] << (8 * i));
        return value;
    }

    std::int16_t Integer() { return static_cast<std::int16_t>(Word()); }

    std::string String()
    {
        const auto field = Bytes(Word());
        return std::string(field.begin(), field.end());
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutString(std::vector<std::uint8_t>& out, const std::string& text)
{
    if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
        throw std::out_of_range("a branding string is longer than 65535 bytes");
    }
    PutWord(out, static_cast<std::uint16_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

BrandingRecord ParseBrandingRecord(std::span<const std::uint8_t> bytes)
{
    FieldReader reader(bytes);
    BrandingRecord record;
    record.CompanyText = reader.String();
    record.TitleText = reader.String();
    record.LinkTarget = reader.String();
    record.ShowPicture = reader.Integer();
    record.ShowAnimation = reader.Integer();
    record.BannerFile = reader.String();
    record.CompanyFontSize = reader.Integer();
    record.TitleFontSize = reader.Integer();
    record.FontName = reader.String();
    const auto reserved = reader.Bytes(record.Reserved.size());
    std::copy(reserved.begin(), reserved.end(), record.Reserved.begin());
    return record;
}

std::vector<std::uint8_t> SerializeBrandingRecord(const BrandingRecord& record)
{
    std::vector<std::uint8_t> out;
    PutString(out, record.CompanyText);
    PutString(out, record.TitleText);
    PutString(out, record.LinkTarget);
    PutWord(out, static_cast<std::uint16_t>(record.ShowPicture));
    PutWord(out, static_cast<std::uint16_t>(record.ShowAnimation));
    PutString(out, record.BannerFile);
    PutWord(out, static_cast<std::uint16_t>(record.CompanyFontSize));
    PutWord(out, static_cast<std::uint16_t>(record.TitleFontSize));
    PutString(out, record.FontName);
    out.insert(out.end(), record.Reserved.begin(), record.Reserved.end());
    return out;
}

}  // namespace korvane::app
