// The distributor's INI form of a branding record: one "key = value" per
// line, an optional "[branding]" section, ";" or "#" comments. Strings are
// UTF-8, bare or in double quotes with \" \\ \n \r \t escapes; numbers are
// 16-bit integers. Keys left out take the program's defaults.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>

#include "app/BrandingRecord.h"
#include "platform/TextEncoding.h"
#include "tools/brand/BrandEncoding.h"

namespace korvane::brand {

// An input error and the line it is on.
class IniError : public std::runtime_error {
public:
    IniError(int line, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line)
    {
    }
    int Line() const { return line_; }

private:
    int line_;
};

// The record the INI text describes, the strings the program decodes
// encoded with `key` and the font name as plain code-page text.
// Throws IniError for an unknown or repeated key, a bad number, a string
// that Windows-1252 cannot hold or that does not fit the key or 65535 bytes.
app::BrandingRecord ParseBrandIni(std::istream& input, const platform::TextEncoding& encoding, const Key& key);

// The INI text of a record, strings decoded as the program decodes them
// (the font name, which the program does not decode, as it is stored).
// `undecodable` receives the names of string fields that stored bytes but
// decode to nothing.
std::string PrintBrandIni(const app::BrandingRecord& record, const platform::TextEncoding& encoding,
                          std::string* undecodable = nullptr);

}  // namespace korvane::brand
