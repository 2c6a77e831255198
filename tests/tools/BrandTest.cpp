// korvane-brand: its encoder, its INI form, and records it makes read back
// by the program's own ReadBranding.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/mSetup.h"
#include "app/mUtils.h"
#include "platform/Windows1252.h"
#include "tests/platform/fakes/FakeFileSystem.h"
#include "tests/support/DefaultBranding.h"
#include "tools/brand/BrandEncoding.h"
#include "tools/brand/BrandIni.h"

namespace korvane::brand {
namespace {

const platform::Windows1252 kEncoding;

app::BrandingRecord Parse(const std::string& ini, const Key& key = kDefaultKey)
{
    std::istringstream input(ini);
    return ParseBrandIni(input, kEncoding, key);
}

// What the program shows for a record the tool made.
app::Branding ReadBack(const app::BrandingRecord& record)
{
    platform::fakes::FakeFileSystem files;
    files.files["C:\\Program Files\\Korvane\\4.dat"] = app::SerializeBrandingRecord(record);
    return app::ReadBranding(files, kEncoding);
}

int ErrorLine(const std::string& ini)
{
    try {
        Parse(ini);
    } catch (const IniError& error) {
        return error.Line();
    }
    return 0;
}

TEST(EncodeText, IsTheInverseOfDecodeText)
{
    const Key keys[] = {kDefaultKey, {0, 0, 0, 0}, {32, 32, 32, 32}, {100, 1, 2, 100}};
    const std::string texts[] = {"A", "ACME", "Hello, world", "(x && y)", std::string("\x01\x7F\x80", 3)};
    for (const Key& key : keys) {
        for (const std::string& text : texts) {
            const std::string stored = EncodeText(text, key);
            EXPECT_EQ(stored.size(), text.size() + 4);
            EXPECT_EQ(app::DecodeText(stored), text);
        }
    }
    EXPECT_EQ(EncodeText("", kDefaultKey), "");
    EXPECT_THROW(EncodeText("\xFF", kDefaultKey), EncodingError);
    EXPECT_EQ(app::DecodeText(EncodeText("\xFC", kDefaultKey)), "\xFC");
}

TEST(BrandIni, AFullRecordRoundTripsThroughReadBranding)
{
    const app::BrandingRecord record = Parse(R"(; a distributor's record
[branding]
company = "Müller && Söhne €"
title   = Acme BMI
link = https://acme.example/bmi?a=1&b=2
show-picture = 1
show-animation = 0
banner-file = "art\\banner.gif"
company-font-size = 14
title-font-size = -3
font-name = "  Verdana  "
)");
    const app::Branding branding = ReadBack(record);
    EXPECT_EQ(branding.DisplayCompany, "M\u00FCller && S\u00F6hne \u20AC");
    EXPECT_EQ(branding.DisplayTitle, "Acme BMI");
    EXPECT_EQ(branding.DisplayLink, "https://acme.example/bmi?a=1&b=2");
    EXPECT_EQ(branding.BannerPath, "C:\\Program Files\\Korvane\\art\\banner.gif");
    EXPECT_TRUE(branding.ShowPicture());
    EXPECT_FALSE(branding.ShowAnimation());
    EXPECT_EQ(branding.Record.CompanyFontSize, 14);
    EXPECT_EQ(branding.Record.TitleFontSize, -3);
    // The font name is the one string of the record that is not stored encoded.
    EXPECT_EQ(branding.Record.FontName, "  Verdana  ");
}

TEST(BrandIni, KeysLeftOutTakeTheProgramsDefaults)
{
    const app::Branding branding = ReadBack(Parse("link = x\n"));
    test_support::ExpectDefaultLook(branding);
    EXPECT_EQ(branding.DisplayLink, "x");
}

TEST(BrandIni, PrintedFormBuildsTheSameBytes)
{
    const std::string ini = "company = \"Tab\\there \\\"quoted\\\" \\\\ end\"\ntitle = \"\"\nshow-animation = 1\n";
    for (const Key& key : {kDefaultKey, Key{7, 9, 11, 13}}) {
        const app::BrandingRecord record = Parse(ini, key);
        const std::string printed = PrintBrandIni(record, kEncoding);
        EXPECT_EQ(app::SerializeBrandingRecord(Parse(printed, key)), app::SerializeBrandingRecord(record)) << printed;
    }
    EXPECT_NE(PrintBrandIni(Parse(ini), kEncoding).find("company = \"Tab\\there \\\"quoted\\\" \\\\ end\""),
              std::string::npos);
}

TEST(BrandIni, PrintNamesFieldsThatDoNotDecode)
{
    app::BrandingRecord record;
    record.CompanyText = std::string("\x50\x50\x50\x10\x50", 5);
    record.FontName = "Tahoma";
    std::string undecodable;
    const std::string printed = PrintBrandIni(record, kEncoding, &undecodable);
    EXPECT_EQ(undecodable, "company");
    EXPECT_NE(printed.find("company = \"\""), std::string::npos);
    EXPECT_NE(printed.find("font-name = \"Tahoma\""), std::string::npos) << "a plain font name prints as stored";
}

TEST(BrandIni, AByteOrderMarkBeforeTheFirstLineIsSkipped)
{
    EXPECT_EQ(Parse("\xEF\xBB\xBF[branding]\ntitle = Acme\n"), Parse("[branding]\ntitle = Acme\n"));
    EXPECT_EQ(ReadBack(Parse("\xEF\xBB\xBFtitle = Acme\n")).DisplayTitle, "Acme");
    EXPECT_EQ(ErrorLine("title = Acme\n\xEF\xBB\xBFlink = x\n"), 2) << "only at the start of the file";
}

TEST(BrandIni, CommentsFollowWhitespaceOutsideQuotes)
{
    const struct {
        const char* line;
        const char* link;
    } cases[] = {
        {"link = a ; comment", "a"},
        {"link = \"a\" ; comment", "a"},
        {"link = \"a ; b\" # comment", "a ; b"},
        {"link = https://acme.example/#part", "https://acme.example/#part"},
        {"link = a;b", "a;b"},
        {"link = ; nothing", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBack(Parse(std::string(c.line) + "\n")).DisplayLink, c.link) << c.line;
}

TEST(BrandIni, ErrorsNameTheirLine)
{
    struct Case {
        const char* ini;
        int line;
    };
    const Case cases[] = {
        {"[branding]\n\ncolour = red\n", 3},          // unknown key
        {"company-font-size = big\n", 1},             // not a number
        {"title = a\ntitle-font-size = 40000\n", 2},  // does not fit 16 bits
        {"show-picture = 1.5\n", 1},
        {"; ok\ncompany = \"\u03A9\"\n", 2},  // not in Windows-1252
        {"company = \u00FF\n", 1},            // 255 plus the key exceeds a byte
        {"title = a\n\ntitle = b\n", 3},      // given twice
        {"title = \"open\n", 1},
        {"title = \"a\\q\"\n", 1},
        {"title = \"a\"b\"\n", 1},
        {"[other]\n", 1},
        {"just words\n", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorLine(c.ini), c.line) << c.ini;
    EXPECT_THROW(Parse("font-name = " + std::string(70000, 'x') + "\n"), IniError);
}

// The tool itself, run as a distributor runs it.
class BrandToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("korvane-brand-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void WriteText(const std::string& name, const std::string& text) { std::ofstream(Path(name)) << text; }
    int Run(const std::string& arguments, std::string* output = nullptr)
    {
        const std::string command = std::string(KORVANE_BRAND_TOOL) + " " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return -1;
        std::string text;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            text += buffer;
        const int status = pclose(pipe);
        if (output != nullptr) *output = text;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::vector<std::uint8_t> Bytes(const std::string& name)
    {
        std::ifstream file(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

TEST_F(BrandToolTest, BuildDumpBuildGivesTheSameFile)
{
    WriteText("in.ini", "company = ACME && Co\ntitle = \"Acme \u00C9dition\"\nshow-picture = 1\nbanner-file = b.bmp\n");
    ASSERT_EQ(Run("build " + Path("in.ini") + " " + Path("4.dat")), 0);
    std::string printed;
    ASSERT_EQ(Run("dump " + Path("4.dat"), &printed), 0);
    EXPECT_NE(printed.find("title = \"Acme \u00C9dition\""), std::string::npos) << printed;
    WriteText("again.ini", printed);
    ASSERT_EQ(Run("build " + Path("again.ini") + " " + Path("again.dat")), 0);
    EXPECT_EQ(Bytes("4.dat"), Bytes("again.dat"));

    platform::fakes::FakeFileSystem files;
    files.files["C:\\Program Files\\Korvane\\4.dat"] = Bytes("4.dat");
    EXPECT_EQ(app::ReadBranding(files, kEncoding).DisplayTitle, "Acme \u00C9dition");
}

TEST_F(BrandToolTest, TheKeyOptionChangesOnlyTheKey)
{
    WriteText("in.ini", "company = ACME\n");
    ASSERT_EQ(Run("build --key WXYZ " + Path("in.ini") + " " + Path("keyed.dat")), 0);
    ASSERT_EQ(Run("build " + Path("in.ini") + " " + Path("plain.dat")), 0);
    const auto keyed = Bytes("keyed.dat");
    ASSERT_GE(keyed.size(), 10u);
    EXPECT_EQ(std::string(keyed.begin() + 2, keyed.begin() + 5), "WXY");
    EXPECT_EQ(keyed[9], 'Z');
    EXPECT_NE(keyed, Bytes("plain.dat"));
    EXPECT_EQ(Run("build --key ABC " + Path("in.ini") + " " + Path("bad.dat")), 2);
}

TEST_F(BrandToolTest, InputErrorsWriteNothing)
{
    WriteText("bad.ini", "company = fine\nfont-size = 3\n");
    std::string message;
    EXPECT_EQ(Run("build " + Path("bad.ini") + " " + Path("out.dat"), &message), 1);
    EXPECT_NE(message.find("line 2"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(Path("out.dat")));
    EXPECT_FALSE(std::filesystem::exists(Path("out.dat.tmp")));
    EXPECT_EQ(Run("build " + Path("missing.ini") + " " + Path("out.dat")), 1);
    EXPECT_EQ(Run("dump " + Path("missing.dat")), 1);
}

TEST_F(BrandToolTest, FoldersAreNeitherReadNorWrittenAsFiles)
{
    WriteText("in.ini", "company = ACME\n");
    std::filesystem::create_directories(Path("folder"));
    std::string message;
    EXPECT_EQ(Run("dump " + Path("folder"), &message), 1);
    EXPECT_EQ(message, "korvane-brand: " + Path("folder") + ": Is a directory\n");
    EXPECT_EQ(Run("build " + Path("folder") + " " + Path("out.dat"), &message), 1);
    EXPECT_EQ(message, "korvane-brand: " + Path("folder") + ": Is a directory\n");
    EXPECT_FALSE(std::filesystem::exists(Path("out.dat")));
    EXPECT_EQ(Run("build " + Path("in.ini") + " " + Path("folder"), &message), 1);
    EXPECT_EQ(message, "korvane-brand: " + Path("folder") + ": Is a directory\n");
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 2);
}

// A file that happens to carry a temporary-looking name beside the output,
// even a link to someone's file, is never written through.
TEST_F(BrandToolTest, NothingBesideTheOutputIsTouched)
{
    WriteText("in.ini", "company = ACME\n");
    WriteText("victim.txt", "user text");
    std::filesystem::create_symlink(Path("victim.txt"), Path("4.dat.tmp"));
    ASSERT_EQ(Run("build " + Path("in.ini") + " " + Path("4.dat")), 0);
    EXPECT_EQ(Bytes("victim.txt"), (std::vector<std::uint8_t>{'u', 's', 'e', 'r', ' ', 't', 'e', 'x', 't'}));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("4.dat.tmp")));
}

TEST_F(BrandToolTest, StandardInputAndOutputThroughPipes)
{
    std::string printed;
    ASSERT_EQ(Run("build - - < /dev/null | " + std::string(KORVANE_BRAND_TOOL) + " dump -", &printed), 0);
    EXPECT_NE(printed.find("font-name = \"Tahoma\""), std::string::npos) << printed;
}

TEST_F(BrandToolTest, UsageAndHelp)
{
    std::string help;
    EXPECT_EQ(Run("--help", &help), 0);
    EXPECT_NE(help.find("korvane-brand build"), std::string::npos);
    EXPECT_NE(help.find("company-font-size"), std::string::npos);
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("paint x"), 2);
    EXPECT_EQ(Run("build only-one"), 2);
    std::string version;
    EXPECT_EQ(Run("--version", &version), 0);
    EXPECT_EQ(version, "korvane-brand " KORVANE_VERSION "\n");
}

}  // namespace
}  // namespace korvane::brand
