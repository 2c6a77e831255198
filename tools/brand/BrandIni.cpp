#include "tools/brand/BrandIni.h"

#include <array>
#include <charconv>
#include <limits>
#include <set>
#include <sstream>
#include <string_view>
#include <variant>

#include "app/mSetup.h"
#include "app/mUtils.h"

namespace korvane::brand {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

using StringField = std::string app::BrandingRecord::*;
using NumberField = std::int16_t app::BrandingRecord::*;

struct Field {
    const char* name;
    std::variant<StringField, NumberField> member;
    // The program decodes these strings; the font name is kept as plain text.
    bool encoded = true;
};

// In the record's file order.
const std::array<Field, 9> kFields{{
    {"company", &app::BrandingRecord::CompanyText},
    {"title", &app::BrandingRecord::TitleText},
    {"link", &app::BrandingRecord::LinkTarget},
    {"show-picture", &app::BrandingRecord::ShowPicture},
    {"show-animation", &app::BrandingRecord::ShowAnimation},
    {"banner-file", &app::BrandingRecord::BannerFile},
    {"company-font-size", &app::BrandingRecord::CompanyFontSize},
    {"title-font-size", &app::BrandingRecord::TitleFontSize},
    {"font-name", &app::BrandingRecord::FontName, false},
}};

const Field* FindField(const std::string& name)
{
    for (const Field& field : kFields) {
        if (name == field.name) return &field;
    }
    return nullptr;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A ; or # that follows a space or tab outside double quotes starts a
// comment; one inside a word (a link's "#part") does not.
std::string WithoutComment(const std::string& value)
{
    bool quoted = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quoted && c == '\\') {
            ++i;  // an escaped character, a quote among them
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ';' || c == '#') && i > 0 && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
            return value.substr(0, i);
        }
    }
    return value;
}

std::string Unquote(const std::string& value, int line)
{
    if (value.empty() || value.front() != '"') return value;
    if (value.size() < 2 || value.back() != '"') throw IniError(line, "unterminated quoted string");
    std::string plain;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '"') throw IniError(line, "a quote inside a string must be written \\\"");
        if (value[i] != '\\') {
            plain.push_back(value[i]);
            continue;
        }
        if (i + 2 >= value.size()) throw IniError(line, "a string cannot end with a lone backslash");
        switch (value[++i]) {
            case '"':
                plain.push_back('"');
                break;
            case '\\':
                plain.push_back('\\');
                break;
            case 'n':
                plain.push_back('\n');
                break;
            case 'r':
                plain.push_back('\r');
                break;
            case 't':
                plain.push_back('\t');
                break;
            default:
                throw IniError(line, std::string("unknown escape \\") + value[i]);
        }
    }
    return plain;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                quoted.push_back(c);
        }
    }
    return quoted + "\"";
}

std::int16_t ParseNumber(const std::string& value, int line)
{
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || value.empty()) {
        throw IniError(line, "\"" + value + "\" is not a whole number");
    }
    if (number < std::numeric_limits<std::int16_t>::min() || number > std::numeric_limits<std::int16_t>::max()) {
        throw IniError(line, value + " does not fit 16 bits (-32768 to 32767)");
    }
    return static_cast<std::int16_t>(number);
}

std::string StoredText(const std::string& plain, int line, const platform::TextEncoding& encoding, const Key& key,
                       bool encoded)
{
    const auto bytes = encoding.FromUtf8(plain);
    if (!bytes) throw IniError(line, "the text cannot be written in Windows-1252");
    std::string stored(bytes->begin(), bytes->end());
    try {
        if (encoded) stored = EncodeText(stored, key);
    } catch (const EncodingError& error) {
        throw IniError(line, error.what());
    }
    if (stored.size() > std::numeric_limits<std::uint16_t>::max()) {
        throw IniError(line, "the encoded text is longer than 65535 bytes");
    }
    return stored;
}

// The program's defaults, stored as the program would read them from a record.
app::BrandingRecord EncodedDefaults(const platform::TextEncoding& encoding, const Key& key)
{
    app::BrandingRecord record = app::DefaultBrandingRecord();
    for (const Field& field : kFields) {
        if (const auto* text = std::get_if<StringField>(&field.member)) {
            record.*(*text) = StoredText(record.*(*text), 0, encoding, key, field.encoded);
        }
    }
    return record;
}

}  // namespace

app::BrandingRecord ParseBrandIni(std::istream& input, const platform::TextEncoding& encoding, const Key& key)
{
    app::BrandingRecord record = EncodedDefaults(encoding, key);
    std::set<std::string> seen;
    std::string text;
    for (int line = 1; std::getline(input, text); ++line) {
        // Editors on Windows often start a UTF-8 file with a byte order mark.
        if (line == 1 && text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
        const std::string content = Trim(text);
        if (content.empty() || content.front() == ';' || content.front() == '#') continue;
        if (content.front() == '[') {
            if (content != "[branding]") throw IniError(line, "unknown section " + content);
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string::npos) throw IniError(line, "expected \"key = value\"");
        const std::string name = Trim(content.substr(0, equals));
        // The text after "=" keeps the space before a comment, so "= ; x" is empty.
        const std::string value = Trim(WithoutComment(text.substr(text.find('=') + 1)));
        const Field* field = FindField(name);
        if (field == nullptr) throw IniError(line, "unknown key \"" + name + "\"");
        if (!seen.insert(name).second) throw IniError(line, "key \"" + name + "\" given twice");
        if (const auto* number = std::get_if<NumberField>(&field->member)) {
            record.*(*number) = ParseNumber(value, line);
        } else {
            record.*std::get<StringField>(field->member) =
                StoredText(Unquote(value, line), line, encoding, key, field->encoded);
        }
    }
    return record;
}

std::string PrintBrandIni(const app::BrandingRecord& record, const platform::TextEncoding& encoding,
                          std::string* undecodable)
{
    std::ostringstream out;
    out << "; Korvane branding record\n[branding]\n";
    for (const Field& field : kFields) {
        out << field.name << " = ";
        if (const auto* number = std::get_if<NumberField>(&field.member)) {
            out << record.*(*number) << '\n';
            continue;
        }
        const std::string& stored = record.*std::get<StringField>(field.member);
        const std::string plain = field.encoded ? app::DecodeText(stored) : stored;
        if (field.encoded && plain.empty() && stored.size() > 4 && undecodable != nullptr) {
            *undecodable += (undecodable->empty() ? "" : ", ") + std::string(field.name);
        }
        out << Quote(encoding.ToUtf8(std::span(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size())))
            << '\n';
    }
    return out.str();
}

}  // namespace korvane::brand
