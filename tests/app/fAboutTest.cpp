#include <QPointer>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "app/fAbout.h"
#include "tests/app/NavTestSupport.h"
#include "tests/platform/fakes/FakeFileSystem.h"
#include "tests/platform/fakes/FakeMessageBox.h"
#include "tests/platform/fakes/FakeProcessStarter.h"
#include "tests/platform/fakes/FakeRegistry.h"

namespace korvane::app {
namespace {

using platform::fakes::FakeFileSystem;
using platform::fakes::FakeMessageBox;
using platform::fakes::FakeProcessStarter;
using platform::fakes::FakeRegistry;
using platform::fakes::RegString;
using test_support::TestApp;

const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kUnavailable = "System Information Is Unavailable At This Time";

class AboutTest : public ::testing::Test {
protected:
    AboutTest() { TestApp(); }
    ~AboutTest() override { delete about_; }

    fAbout& About(const std::string& title = "Korvane", const std::string& link = "")
    {
        delete about_;
        about_ = new fAbout(nullptr, title, link, SysInfoPlatform{registry, files, processes, messages});
        return *about_;
    }

    FakeRegistry registry;
    FakeFileSystem files;
    FakeProcessStarter processes;
    FakeMessageBox messages;

private:
    QPointer<fAbout> about_;
};

TEST_F(AboutTest, LoadWithDefaultBranding)
{
    fAbout& about = About();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Korvane"));
    EXPECT_EQ(about.lblTitle->text(), QStringLiteral("Korvane"));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(about.lblDescription->text(),
              QStringLiteral("Korvane is a handy tool which you can use to quickly determine your Body Mass Index, "
                             "thereby helping you to stay healthy. For more information on this and other products, "
                             "Please contact us at: "));
    EXPECT_EQ(about.lblDisclaimer->text(), QString());
}

TEST_F(AboutTest, LoadEndsTheDescriptionWithTheLink)
{
    fAbout& about = About("Slim && Co BMI", "https://slim.example/bmi");
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Slim && Co BMI")) << "a window caption shows what it is given";
    EXPECT_EQ(about.lblTitle->text(), QStringLiteral("Slim & Co BMI")) << "labels show && as one ampersand";
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(about.lblDescription->text(),
              QStringLiteral("Slim & Co BMI is a handy tool which you can use to quickly determine your Body Mass "
                             "Index, thereby helping you to stay healthy. For more information on this and other "
                             "products, Please contact us at: https://slim.example/bmi"));
}

TEST_F(AboutTest, TheCaptionShowsTheTitleAsGiven)
{
    for (const char* title : {"Fit[*]Co", "[*][*]", "A [*"}) {
        fAbout& about = About(title);
        about.show();
        ASSERT_NE(about.windowHandle(), nullptr);
        EXPECT_EQ(about.windowHandle()->title().toStdString(), std::string("About ") + title);
    }
}

TEST_F(AboutTest, ButtonsOfTheBox)
{
    fAbout& about = About();
    EXPECT_EQ(about.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(about.cmdOK->isDefault());
    EXPECT_EQ(about.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    EXPECT_EQ(about.size(), QSize(382, 237));
}

TEST_F(AboutTest, OkEnterAndEscapeUnloadTheBox)
{
    for (const int how : {0, 1, 2}) {
        QPointer<fAbout> about = &About();
        about->show();
        if (how == 0) about->cmdOK->click();
        if (how != 0) QTest::keyClick(about, how == 1 ? Qt::Key_Return : Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull()) << how;
    }
}

// One path of StartSysInfo through registry, file lookup and process start.
struct SysInfoCase {
    const char* name;
    std::map<std::string, FakeRegistry::Values> keys;
    std::set<std::string> files;
    bool startSucceeds;
    std::vector<std::string> expectStarted;
    bool expectMessage;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const SysInfoCase& c, std::ostream* os)
{
    *os << c.name;
}

class StartSysInfoTest : public AboutTest, public ::testing::WithParamInterface<SysInfoCase> {};

TEST_P(StartSysInfoTest, StartsTheProgramOrSaysItCannot)
{
    const SysInfoCase& c = GetParam();
    registry.keys = c.keys;
    for (const std::string& file : c.files)
        files.files[file] = {};
    processes.succeeds = c.startSucceeds;
    About().StartSysInfo();
    EXPECT_EQ(processes.started, c.expectStarted);
    ASSERT_EQ(messages.shown.size(), c.expectMessage ? 1U : 0U);
    if (c.expectMessage) {
        EXPECT_EQ(messages.shown[0].text, kUnavailable);
        EXPECT_EQ(messages.shown[0].title, "Korvane");
        EXPECT_EQ(messages.shown[0].icon, platform::MessageIcon::None);
    }
}

const std::string kMsinfo = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
const std::string kFolder = "C:\\Windows\\System32";

const std::string kMsinfo32 = kFolder + "\\MSINFO32.EXE";
const FakeRegistry::Values kPath = {{"PATH", RegString(kMsinfo)}};
const FakeRegistry::Values kLocation = {{"MSINFO", RegString(kFolder)}};

INSTANTIATE_TEST_SUITE_P(
    Paths, StartSysInfoTest,
    ::testing::Values(
        // name, registry keys, files that exist, start succeeds, programs started, message shown
        SysInfoCase{"FirstKeyStartsItsPathUnchecked", {{kInfoKey, kPath}}, {}, true, {kMsinfo}, false},
        SysInfoCase{"FirstKeyWinsOverTheSecond",
                    {{kInfoKey, kPath}, {kFolderKey, kLocation}},
                    {kMsinfo32},
                    true,
                    {kMsinfo},
                    false},
        SysInfoCase{"FirstKeyPathThatDoesNotStart",
                    {{kInfoKey, kPath}, {kFolderKey, kLocation}},
                    {kMsinfo32},
                    false,
                    {kMsinfo},
                    true},
        SysInfoCase{"SecondKeyWithTheProgram",
                    {{kInfoKey, {}}, {kFolderKey, kLocation}},
                    {kMsinfo32},
                    true,
                    {kMsinfo32},
                    false},
        SysInfoCase{"SecondKeyWithoutTheProgram", {{kFolderKey, kLocation}}, {kFolder}, true, {}, true},
        SysInfoCase{"SecondKeyWithoutItsValue", {{kFolderKey, {}}}, {"\\MSINFO32.EXE"}, true, {}, true},
        SysInfoCase{"NeitherKey", {}, {kMsinfo, kMsinfo32}, true, {}, true},
        SysInfoCase{
            "SecondKeyProgramThatDoesNotStart", {{kFolderKey, kLocation}}, {kMsinfo32}, false, {kMsinfo32}, true}),
    [](const ::testing::TestParamInfo<SysInfoCase>& info) { return std::string(info.param.name); });

TEST_F(AboutTest, PathThatDoesNotStartLeavesTheSecondKeyUntried)
{
    registry.keys = {{kInfoKey, {{"PATH", RegString("C:\\nothing.exe")}}}, {kFolderKey, kLocation}};
    files.files[kMsinfo32] = {};
    processes.succeeds = false;
    About().StartSysInfo();
    EXPECT_EQ(registry.opened, std::vector<std::string>{kInfoKey});
    EXPECT_EQ(processes.started, std::vector<std::string>{"C:\\nothing.exe"});
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, kUnavailable);
}

TEST_F(AboutTest, SysInfoButtonRunsStartSysInfo)
{
    About().cmdSysInfo->click();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, kUnavailable);
    EXPECT_EQ(registry.opened, (std::vector<std::string>{kInfoKey, kFolderKey}));
}

TEST_F(AboutTest, GetKeyValueReadsStringValues)
{
    platform::fakes::FakeRegistryValue unterminated;
    unterminated.bytes = {'a', 'b', 'c'};
    platform::fakes::FakeRegistryValue number;
    number.type = 4;
    number.bytes = {0x2A, 0, 0, 0};
    platform::fakes::FakeRegistryValue overstated = RegString("xy");
    overstated.reportedLength = 5000;
    registry.keys["K"] = {{"s", RegString("text")},
                          {"nothing", platform::fakes::FakeRegistryValue{}},
                          {"empty", RegString("")},
                          {"raw", unterminated},
                          {"n", number},
                          {"long", RegString(std::string(1023, 'x'))},
                          {"toolong", RegString(std::string(1024, 'x'))},
                          {"over", overstated}};
    fAbout& about = About();

    struct Case {
        const char* key;
        const char* value;
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {"K", "s", true, "text"},      {"K", "nothing", true, ""},
        {"K", "empty", true, ""},      {"K", "raw", true, "abc"},
        {"K", "n", true, "unchanged"}, {"K", "long", true, std::string(1023, 'x')},
        {"K", "toolong", false, ""},   {"K", "missing", false, ""},
        {"Missing", "s", false, ""},   {"K", "over", true, std::string("xy") + std::string(1021, '\0')},
    };
    for (const Case& c : cases) {
        std::string text = "unchanged";
        EXPECT_EQ(about.GetKeyValue(platform::HKEY_LOCAL_MACHINE, c.key, c.value, text), c.ok) << c.value;
        EXPECT_EQ(text, c.text) << c.value;
    }
}

}  // namespace
}  // namespace korvane::app
