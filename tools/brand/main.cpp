// korvane-brand: makes and reads the branding record "4.dat" that a
// distributor puts beside the program.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/BrandingRecord.h"
#include "platform/Windows1252.h"
#include "tools/brand/BrandIni.h"
#include "tools/support/ToolFiles.h"
#include "tools/support/ToolMain.h"

namespace {

namespace brand = korvane::brand;
namespace tools = korvane::tools;

constexpr const char* kHelp = R"(Usage:
  korvane-brand build [--key KEY] INPUT OUT   make a branding record from an INI file
  korvane-brand dump FILE                     print a record in the same INI form
  korvane-brand check RECORD|INI [--folder DIR] [--json]
                                              report what would show broken in the window
  korvane-brand preview RECORD|INI OUT.png [--folder DIR] [--scale 1|2] [--frame N]
                                              draw the main window with the branding
  korvane-brand --help | --version

INPUT holds one "key = value" per line (an optional [branding] section). A
line that starts with ; or # is a comment, and so is the rest of a line from
a ; or # that follows a space or tab outside double quotes (so a link's
"#part" stays). Strings are UTF-8 and must fit Windows-1252; write them bare
or in double quotes with \" \\ \n \r \t escapes. Keys:
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

check and preview read a record, or the INI form when the name ends in
".ini", with the program's own code, and the banner file it names relative
to DIR (default: the record's folder). check prints one line a finding,
naming its field: text that does not decode, a banner file that is missing,
not a picture or not a GIF the window can play, a picture larger or smaller
than the 375 x 60 banner area, a GIF that will be shrunk, text that does not
fit its label in the window's font, a font size the window refuses, and how
a click will read the link. --json prints them as one object. preview draws
the window as it looks on first start (default weight and height, frame N
of an animated banner) at 100 % or 200 %, off screen.

An INPUT or FILE of "-" is standard input; an OUT of "-" is standard output.
OUT is replaced atomically and keeps its permissions; a link is followed.
Options may come anywhere on the line.

Exit status: 0 done; 1 a file could not be read or written, INPUT has an
error (named with its line; nothing is written), or check found something
that would show broken; 2 usage error.
)";

brand::Key ParseKey(const std::string& text, const korvane::platform::TextEncoding& encoding)
{
    const auto bytes = encoding.FromUtf8(text);
    if (!bytes || bytes->size() != 4) throw tools::UsageError("--key needs four Windows-1252 characters");
    return brand::Key{(*bytes)[0], (*bytes)[1], (*bytes)[2], (*bytes)[3]};
}

int Build(const std::string& input, const std::string& output, const std::optional<std::string>& keyText)
{
    const korvane::platform::Windows1252 encoding;
    const brand::Key key = keyText ? ParseKey(*keyText, encoding) : brand::kDefaultKey;
    const korvane::platform::FileBytes text = tools::ReadInput(input);
    std::istringstream lines(std::string(text.begin(), text.end()));
    std::vector<std::uint8_t> bytes;
    try {
        bytes = korvane::app::SerializeBrandingRecord(brand::ParseBrandIni(lines, encoding, key));
    } catch (const brand::IniError& error) {
        throw tools::FileError(tools::DisplayName(input, false), error.what());
    }
    tools::WriteOutput(output, bytes);
    return 0;
}

int Dump(const std::string& file)
{
    const korvane::platform::FileBytes record = tools::ReadInput(file);
    const std::vector<std::uint8_t> bytes(record.begin(), record.end());
    const korvane::platform::Windows1252 encoding;
    std::string undecodable;
    const std::string ini = brand::PrintBrandIni(korvane::app::ParseBrandingRecord(bytes), encoding, &undecodable);
    std::fputs(ini.c_str(), stdout);
    if (!undecodable.empty())
        std::fprintf(stderr, "korvane-brand: %s: these fields do not decode: %s\n",
                     tools::DisplayName(file, false).c_str(), undecodable.c_str());
    return 0;
}

// check and preview draw the program's own window: a separate program with
// Qt does them, beside this one in the build and in the program folder once
// installed, so build and dump start without loading Qt.
int RunWindowTool(char** argv)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    for (const std::filesystem::path& candidate : {self / "korvane-brand-view", self / KORVANE_VIEW_FROM_BIN}) {
        if (!std::filesystem::exists(candidate)) continue;
        ::execv(candidate.c_str(), argv);
        std::fprintf(stderr, "korvane-brand: %s: %s\n", candidate.c_str(), std::strerror(errno));
        return tools::kExitFailure;
    }
    std::fprintf(stderr, "korvane-brand: korvane-brand-view, which checks and previews, is not installed\n");
    return tools::kExitFailure;
}

int Run(int argc, char** argv)
{
    if (argc > 1 && (std::strcmp(argv[1], "check") == 0 || std::strcmp(argv[1], "preview") == 0))
        return RunWindowTool(argv);

    CLI::App app("Build and read Korvane branding records", "korvane-brand");
    app.require_subcommand(1, 1);

    std::string input, output, dumped;
    std::optional<std::string> key;
    CLI::App* build = app.add_subcommand("build", "make a branding record from an INI file");
    build->add_option("INPUT", input)->required();
    build->add_option("OUT", output)->required();
    build->add_option("--key", key);
    CLI::App* dump = app.add_subcommand("dump", "print a record in the INI form");
    dump->add_option("FILE", dumped)->required();

    return tools::RunToolMain(app, kHelp, argc, argv, [&] {
        if (build->parsed()) return Build(input, output, key);
        return Dump(dumped);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    return tools::GuardedMain("korvane-brand", [&] { return Run(argc, argv); });
}
