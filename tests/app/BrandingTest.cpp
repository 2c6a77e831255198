// The branding record: its layout, the text decoding and ReadBranding.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/BrandingRecord.h"
#include "app/mSetup.h"
#include "app/mUtils.h"
#include "platform/Windows1252.h"
#include "platform/qt/QtFileSystem.h"
#include "tests/platform/fakes/FakeFileSystem.h"
#include "tests/support/DefaultBranding.h"

namespace korvane::app {
namespace {

// Encodes as a distributor's tool would: key bytes, body plus cyclic key, last key byte.
std::string Stored(const std::string& plain, std::string key = "    ")
{
    std::string stored = key.substr(0, 3);
    for (std::size_t k = 0; k < plain.size(); ++k) {
        stored.push_back(
            static_cast<char>(static_cast<unsigned char>(plain[k]) + static_cast<unsigned char>(key[k % 4])));
    }
    return stored + key[3];
}

std::vector<std::uint8_t> Bytes(const BrandingRecord& record)
{
    return SerializeBrandingRecord(record);
}

TEST(DecodeText, KeyAndBody)
{
    struct Case {
        std::string stored;
        std::string plain;
    };
    const Case cases[] = {
        {"", ""},
        {"ab", ""},   // a key character is missing
        {"abc", ""},  // key only: the last key character is the third
        {"abcd", ""},
        {Stored("ACME"), "ACME"},
        {Stored("Hello, world", "\x01\x02\x03\x04"), "Hello, world"},  // the key repeats from the fifth character
        {std::string("   ") + char(32 + 'A') + char(31) + " ", ""},    // one difference below 0 empties all
        {std::string("\xFF\xFF\xFF") + "\xFF" + "\xFF", std::string(1, '\0')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeText(c.stored), c.plain) << "stored size " << c.stored.size();
}

TEST(DecodeText, WorksOnBytesAbove127)
{
    EXPECT_EQ(DecodeText(Stored("\xE9t\xE9", "\x01\x01\x01\x01")), "\xE9t\xE9");
}

TEST(AddBackslash, OnlyWhenMissing)
{
    std::string folder = "C:\\Korvane";
    EXPECT_EQ(AddBackslash(folder), "C:\\Korvane\\");
    EXPECT_EQ(AddBackslash(folder), "C:\\Korvane\\");
    std::string empty;
    EXPECT_EQ(AddBackslash(empty), "\\");
}

BrandingRecord FullRecord()
{
    BrandingRecord record;
    record.CompanyText = Stored("ACME && Sons");
    record.TitleText = Stored("Acme BMI");
    record.LinkTarget = Stored("https://acme.example/");
    record.ShowPicture = 1;
    record.ShowAnimation = -2;
    record.BannerFile = Stored("banner.bmp");
    record.CompanyFontSize = 20;
    record.TitleFontSize = 9;
    record.FontName = Stored("Verdana");
    record.Reserved[0] = 0xAA;
    record.Reserved[19] = 0x55;
    return record;
}

TEST(BrandingRecord, LayoutInFileOrder)
{
    BrandingRecord record;
    record.CompanyText = "AB";
    record.ShowPicture = 0x0102;
    record.ShowAnimation = -1;
    record.TitleFontSize = 8;
    const std::vector<std::uint8_t> bytes = Bytes(record);
    ASSERT_EQ(bytes.size(), 2u + 2 + 2 + 2 + 2 + 2 + 2 + 2 + 2 + 2 + 20);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 14),
              (std::vector<std::uint8_t>{2, 0, 'A', 'B', 0, 0, 0, 0, 0x02, 0x01, 0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(ParseBrandingRecord(bytes), record);
    EXPECT_EQ(ParseBrandingRecord(Bytes(FullRecord())), FullRecord());
}

TEST(BrandingRecord, ShortFilesLeaveTheRestEmpty)
{
    const std::vector<std::uint8_t> full = Bytes(FullRecord());
    const std::string company = FullRecord().CompanyText;
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        const BrandingRecord record = ParseBrandingRecord(std::span(full).first(cut));
        EXPECT_EQ(record.CompanyText, company.substr(0, cut < 2 ? 0 : cut - 2)) << "cut at " << cut;
        if (cut < full.size()) {
            EXPECT_NE(record, FullRecord()) << "cut at " << cut;
        }
    }
    const std::vector<std::uint8_t> titleOnly = {0, 0, 3, 0, 'A', 'B', 'C'};
    const BrandingRecord record = ParseBrandingRecord(titleOnly);
    EXPECT_EQ(record.TitleText, "ABC");
    EXPECT_EQ(record.LinkTarget, "");
    EXPECT_EQ(record.CompanyFontSize, 0);
}

TEST(BrandingRecord, ALengthPastTheEndYieldsTheBytesThere)
{
    const std::vector<std::uint8_t> bytes = {0xFF, 0xFF, 'x', 'y', 'z'};
    const BrandingRecord record = ParseBrandingRecord(bytes);
    EXPECT_EQ(record.CompanyText, "xyz");
    EXPECT_EQ(record.TitleText, "");
    const std::vector<std::uint8_t> halfNumber = {0, 0, 0, 0, 0, 0, 0x07};
    EXPECT_EQ(ParseBrandingRecord(halfNumber).ShowPicture, 7);
}

TEST(BrandingRecord, RefusesStringsTooLongToCount)
{
    BrandingRecord record;
    record.FontName.assign(65536, 'x');
    EXPECT_THROW(SerializeBrandingRecord(record), std::out_of_range);
}

class ReadBrandingTest : public ::testing::Test {
protected:
    const std::string kRecordPath = "C:\\Program Files\\Korvane\\4.dat";
    platform::fakes::FakeFileSystem files_;
    platform::Windows1252 encoding_;

    static void ExpectDefaults(const Branding& branding)
    {
        EXPECT_EQ(branding.Record, DefaultBrandingRecord());
        test_support::ExpectDefaultLook(branding);
        EXPECT_EQ(branding.DisplayLink, "");
        EXPECT_EQ(branding.BannerPath, "");
    }

    // The branding read from a record file holding `bytes`.
    Branding ReadRecord(std::vector<std::uint8_t> bytes)
    {
        files_.files[kRecordPath] = std::move(bytes);
        return ReadBranding(files_, encoding_);
    }
};

TEST_F(ReadBrandingTest, NoFileGivesDefaultsAndLeavesAnEmptyRecord)
{
    ExpectDefaults(ReadBranding(files_, encoding_));
    ASSERT_TRUE(files_.files.contains(kRecordPath));
    EXPECT_TRUE(files_.files.at(kRecordPath).empty());
}

TEST_F(ReadBrandingTest, AnEmptyFileIsDeletedAndMadeAgain)
{
    files_.files[kRecordPath] = {};
    ExpectDefaults(ReadBranding(files_, encoding_));
    EXPECT_EQ(files_.deleted, std::vector<std::string>{kRecordPath});
    EXPECT_TRUE(files_.files.contains(kRecordPath));
}

TEST_F(ReadBrandingTest, AFullRecordIsDecoded)
{
    const Branding branding = ReadRecord(Bytes(FullRecord()));
    EXPECT_EQ(branding.DisplayCompany, "ACME && Sons");
    EXPECT_EQ(branding.DisplayTitle, "Acme BMI");
    EXPECT_EQ(branding.DisplayLink, "https://acme.example/");
    EXPECT_EQ(branding.BannerPath, "C:\\Program Files\\Korvane\\banner.bmp");
    EXPECT_TRUE(branding.ShowPicture());
    EXPECT_TRUE(branding.ShowAnimation());
    EXPECT_EQ(branding.Record.CompanyFontSize, 20);
    EXPECT_TRUE(files_.deleted.empty());
}

TEST_F(ReadBrandingTest, TextsGoThroughTheCodePage)
{
    BrandingRecord record;
    record.CompanyText = Stored("Caf\xE9 \x80", "\x01\x01\x01\x01");
    EXPECT_EQ(ReadRecord(Bytes(record)).DisplayCompany, "Caf\u00E9 \u20AC");
}

TEST_F(ReadBrandingTest, UndecodableAndShortFieldsAreEmpty)
{
    BrandingRecord record;
    record.CompanyText = "abc";                              // key only
    record.TitleText = std::string("   ") + char(10) + " ";  // below its key code
    record.LinkTarget = "";                                  // missing key
    const Branding branding = ReadRecord(Bytes(record));
    EXPECT_EQ(branding.DisplayCompany, "");
    EXPECT_EQ(branding.DisplayTitle, "");
    EXPECT_EQ(branding.DisplayLink, "");
    EXPECT_EQ(branding.BannerPath, "C:\\Program Files\\Korvane\\");
    EXPECT_FALSE(branding.ShowPicture());

    const Branding cut = ReadRecord({0, 0, 3, 0, 'a', 'b'});  // ends inside the title
    EXPECT_EQ(cut.DisplayTitle, "");
    EXPECT_EQ(cut.Record.TitleFontSize, 0);
}

TEST_F(ReadBrandingTest, AtTheRootTheRecordPathHasTwoBackslashes)
{
    files_.programFolder = "C:\\";
    BrandingRecord record;
    record.BannerFile = Stored("banner.gif");
    files_.files["C:\\\\4.dat"] = Bytes(record);
    const Branding branding = ReadBranding(files_, encoding_);
    EXPECT_EQ(files_.opened, std::vector<std::string>{"C:\\\\4.dat"});
    EXPECT_EQ(branding.BannerPath, "C:\\banner.gif");
}

TEST_F(ReadBrandingTest, AnUnwritableFolderGivesDefaults)
{
    files_.readOnly = true;
    ExpectDefaults(ReadBranding(files_, encoding_));
    files_.files[kRecordPath] = {};  // an empty record that cannot be deleted
    ExpectDefaults(ReadBranding(files_, encoding_));
}

TEST_F(ReadBrandingTest, AFolderWhereTheRecordShouldBeGivesDefaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("4.dat"));
    platform::qt::QtFileSystem files(QDir::toNativeSeparators(dir.path()).toStdString());
    ExpectDefaults(ReadBranding(files, encoding_));
}

TEST_F(ReadBrandingTest, OnDiskOnlyTheRecordIsReadFromAHugeFile)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("4.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::vector<std::uint8_t> record = Bytes(FullRecord());
    file.write(reinterpret_cast<const char*>(record.data()), static_cast<qint64>(record.size()));
    // A terabyte that takes no room on disk: reading all of it could never fit in memory.
    if (!file.resize(qint64{1} << 40)) GTEST_SKIP() << "no sparse files here";
    file.close();
    platform::qt::QtFileSystem files(QDir::toNativeSeparators(dir.path()).toStdString());
    const Branding branding = ReadBranding(files, encoding_);
    EXPECT_EQ(branding.DisplayTitle, "Acme BMI");
    EXPECT_EQ(branding.Record.CompanyFontSize, 20);
}

TEST_F(ReadBrandingTest, OnDiskTheMissingRecordIsLeftBehindEmpty)
{
    QTemporaryDir dir;
    platform::qt::QtFileSystem files(QDir::toNativeSeparators(dir.path()).toStdString());
    ExpectDefaults(ReadBranding(files, encoding_));
    const QFileInfo record(dir.filePath("4.dat"));
    EXPECT_TRUE(record.isFile());
    EXPECT_EQ(record.size(), 0);
    ExpectDefaults(ReadBranding(files, encoding_));
    EXPECT_TRUE(record.exists());
}

}  // namespace
}  // namespace korvane::app
