// The main window's menu button, window buttons and banner links, driven by
// real mouse clicks on the offscreen platform with fake platform services.
#include <QApplication>
#include <QLabel>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>

#include "app/BrandingRecord.h"
#include "app/fAbout.h"
#include "app/fMain.h"
#include "app/fQuickHelp.h"
#include "platform/qt/QtPicture.h"
#include "tests/app/NavTestSupport.h"
#include "tests/platform/fakes/FakeServices.h"

namespace korvane::app {
namespace {

const char* const kRecordPath = "C:\\Program Files\\Korvane\\4.dat";

// `text` as the record stores it, with four blanks as the key.
std::string Encoded(const std::string& text)
{
    std::string stored = "   ";
    for (const char c : text)
        stored.push_back(static_cast<char>(c + 32));
    return stored + " ";
}

template <class Window>
std::vector<Window*> OpenWindows()
{
    std::vector<Window*> open;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = dynamic_cast<Window*>(widget); window != nullptr && window->isVisible())
            open.push_back(window);
    return open;
}

class fMainNavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::TestApp();
        QApplication::setStyle(QStyleFactory::create("Fusion"));
    }
    void TearDown() override
    {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Brand(const std::string& link, bool picture)
    {
        BrandingRecord record;
        record.CompanyText = Encoded("Slim Co");
        record.TitleText = Encoded("Slim BMI");
        record.LinkTarget = Encoded(link);
        record.ShowPicture = picture ? 1 : 0;
        record.BannerFile = Encoded("b");
        fakes_.files.files[kRecordPath] = SerializeBrandingRecord(record);
        QImage banner(100, 30, QImage::Format_ARGB32);
        banner.fill(Qt::yellow);
        fakes_.pictures.pictures["C:\\Program Files\\Korvane\\b"] = std::make_shared<platform::qt::QtPicture>(banner);
    }
    fMain& Open()
    {
        window_ = std::make_unique<fMain>(fakes_.services());
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }
    void Click(const char* name)
    {
        auto* widget = window_->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
    }
    // Clicks the menu button and picks `command` from its menu.
    void Choose(int command)
    {
        fakes_.menus.choice = command;
        Click("btnForm_0");
    }

    platform::fakes::FakeServices fakes_;
    std::unique_ptr<fMain> window_;
};

TEST_F(fMainNavigationTest, MenuButtonShowsTheChosenWindow)
{
    Open();
    Choose(0);
    ASSERT_EQ(fakes_.menus.shown.size(), 1U);
    EXPECT_TRUE(OpenWindows<fAbout>().empty());
    EXPECT_TRUE(OpenWindows<fQuickHelp>().empty());
    Choose(1000);
    ASSERT_EQ(OpenWindows<fAbout>().size(), 1U);
    EXPECT_EQ(OpenWindows<fAbout>()[0]->parentWidget(), window_.get());
    EXPECT_TRUE(OpenWindows<fQuickHelp>().empty());
    Choose(1001);
    EXPECT_EQ(OpenWindows<fQuickHelp>().size(), 1U);
    EXPECT_EQ(fakes_.menus.shown.size(), 3U);
    EXPECT_TRUE(window_->isEnabled()) << "the windows are not modal";
}

// Pressed from the keyboard, the menu opens at the button, not wherever the
// pointer happens to be; a mouse click still opens it at the pointer.
TEST_F(fMainNavigationTest, MenuFromTheKeyboardOpensAtTheButton)
{
    Open();
    auto* button = window_->findChild<QWidget*>("btnForm_0");
    ASSERT_NE(button, nullptr);
    const QPoint centre = button->mapToGlobal(button->rect().center());
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, key);
        ASSERT_FALSE(fakes_.menus.places.empty()) << key;
        EXPECT_EQ(fakes_.menus.places.back(), (platform::ScreenPoint{centre.x(), centre.y()})) << key;
    }
    Click("btnForm_0");
    ASSERT_EQ(fakes_.menus.places.size(), 3U);
    EXPECT_EQ(fakes_.menus.places.back(), std::nullopt);
}

TEST_F(fMainNavigationTest, ChoosingAgainKeepsOneInstance)
{
    Open();
    for (int i = 0; i < 3; ++i) {
        Choose(1001);
        Choose(1000);
    }
    EXPECT_EQ(OpenWindows<fQuickHelp>().size(), 1U);
    EXPECT_EQ(OpenWindows<fAbout>().size(), 1U);
}

TEST_F(fMainNavigationTest, MinimiseButton)
{
    Open();
    Click("btnForm_1");
    EXPECT_TRUE(window_->isMinimized());
}

TEST_F(fMainNavigationTest, CloseButtonClosesTheSecondaryWindowsToo)
{
    Open();
    Choose(1000);
    Choose(1001);
    Click("btnForm_2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(OpenWindows<fAbout>().empty());
    EXPECT_TRUE(OpenWindows<fQuickHelp>().empty());
}

TEST_F(fMainNavigationTest, BannerTextOpensTheLinkTitleLineNever)
{
    Brand("https://slim.example", false);
    Open();
    Click("lblName_1");
    EXPECT_TRUE(fakes_.shell.opened.empty());
    Click("lblName_0");
    EXPECT_EQ(fakes_.shell.opened, std::vector<std::string>{"https://slim.example"});
}

TEST_F(fMainNavigationTest, BannerPictureOpensTheLink)
{
    Brand("https://slim.example", true);
    Open();
    Click("imBanner");
    EXPECT_EQ(fakes_.shell.opened, std::vector<std::string>{"https://slim.example"});
}

TEST_F(fMainNavigationTest, DefaultBannerAsksForTheEmptyLinkAndShowsNothing)
{
    Open();
    fakes_.shell.succeeds = false;
    Click("lblName_0");
    EXPECT_EQ(fakes_.shell.opened, std::vector<std::string>{""});
    EXPECT_TRUE(fakes_.messages.shown.empty());
}

TEST_F(fMainNavigationTest, AboutBoxNamesTheBrandingAndShowsTheProgramIcon)
{
    Brand("https://slim.example", false);
    Open();
    Choose(1000);
    ASSERT_EQ(OpenWindows<fAbout>().size(), 1U);
    fAbout& about = *OpenWindows<fAbout>()[0];
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Slim BMI"));
    EXPECT_TRUE(about.lblDescription->text().endsWith(QStringLiteral("Please contact us at: https://slim.example")));
    EXPECT_FALSE(about.picIcon->pixmap().isNull());
    EXPECT_TRUE(test_support::SavePng(about, QStringLiteral("fAbout")));
    about.cmdSysInfo->click();
    ASSERT_EQ(fakes_.messages.shown.size(), 1U);
    EXPECT_EQ(fakes_.messages.shown[0].text, "System Information Is Unavailable At This Time");
}

}  // namespace
}  // namespace korvane::app
