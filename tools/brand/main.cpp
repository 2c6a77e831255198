// korvane-brand: makes and reads the branding record "4.dat" that a
// distributor puts beside the program.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/BrandingRecord.h"
#include "platform/Windows1252.h"
#include "tools/brand/BrandIni.h"

namespace {

namespace brand = korvane::brand;

constexpr int kInputError = 1;
constexpr int kUsageError = 2;

constexpr const char* kHelp = R"(usage:
  korvane-brand build [--key KEY] INPUT OUT   make a branding record from an INI file
  korvane-brand dump FILE                     print a record in the same INI form
  korvane-brand --help

INPUT holds one "key = value" per line (an optional [branding] section,
comments after ; or #). Strings are UTF-8 and must fit Windows-1252; write
them bare or in double quotes with \" \\ \n \r \t escapes. Keys:
  company            banner text ("&&" shows one ampersand)
  title              title line, also the program's name in its windows
  link               what a click on the banner opens
  show-picture       1 to show banner-file as a picture, 0 not
  show-animation     1 to play banner-file as an animated GIF, 0 not
  banner-file        file name beside the program
  company-font-size  points of the banner text
  title-font-size    points of the title line
  font-name          a font name kept in the record
Keys left out take the program's defaults.

--key KEY  four characters that encode the strings (default: a fixed key,
           so the same input always gives the same bytes).

Exit status: 0 done, 1 input error (nothing written), 2 usage error.
)";

int Usage(const std::string& message)
{
    std::cerr << "korvane-brand: " << message << "\nTry 'korvane-brand --help'.\n";
    return kUsageError;
}

std::optional<brand::Key> ParseKey(const std::string& text, const korvane::platform::TextEncoding& encoding)
{
    const auto bytes = encoding.FromUtf8(text);
    if (!bytes || bytes->size() != 4) return std::nullopt;
    return brand::Key{(*bytes)[0], (*bytes)[1], (*bytes)[2], (*bytes)[3]};
}

// The bytes of `path`, or nothing when it cannot be read (missing, a folder).
std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    try {
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (file.bad()) return std::nullopt;
        return bytes;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
}

// Writes beside the target first, so a failed write leaves no half record.
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::string temporary = path + ".tmp";
    std::error_code ignored;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) std::filesystem::remove(temporary, ignored);
    return !error;
}

int Build(const std::vector<std::string>& args)
{
    const korvane::platform::Windows1252 encoding;
    brand::Key key = brand::kDefaultKey;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--key") {
            if (i + 1 >= args.size()) return Usage("--key needs four characters");
            const auto parsed = ParseKey(args[++i], encoding);
            if (!parsed) return Usage("--key needs four Windows-1252 characters");
            key = *parsed;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) return Usage("build needs INPUT and OUT");
    const std::optional<std::string> text = ReadFile(files[0]);
    if (!text) {
        std::cerr << "korvane-brand: cannot read " << files[0] << '\n';
        return kInputError;
    }
    std::istringstream input(*text);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = korvane::app::SerializeBrandingRecord(brand::ParseBrandIni(input, encoding, key));
    } catch (const brand::IniError& error) {
        std::cerr << files[0] << ": " << error.what() << '\n';
        return kInputError;
    }
    if (!WriteFile(files[1], bytes)) {
        std::cerr << "korvane-brand: cannot write " << files[1] << '\n';
        return kInputError;
    }
    return 0;
}

int Dump(const std::vector<std::string>& args)
{
    if (args.size() != 1) return Usage("dump needs FILE");
    const std::optional<std::string> file = ReadFile(args[0]);
    if (!file) {
        std::cerr << "korvane-brand: cannot read " << args[0] << '\n';
        return kInputError;
    }
    const std::vector<std::uint8_t> bytes(file->begin(), file->end());
    const korvane::platform::Windows1252 encoding;
    std::string undecodable;
    std::cout << brand::PrintBrandIni(korvane::app::ParseBrandingRecord(bytes), encoding, &undecodable);
    if (!undecodable.empty()) std::cerr << "korvane-brand: these fields do not decode: " << undecodable << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("a command is needed");
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << kHelp;
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "build") return Build(rest);
    if (args[0] == "dump") return Dump(rest);
    return Usage("unknown command " + args[0]);
}
