#include <QApplication>
#include <gtest/gtest.h>

#include "app/cNavigation.h"
#include "tests/app/NavTestSupport.h"
#include "tests/platform/fakes/FakeFileSystem.h"
#include "tests/platform/fakes/FakeMessageBox.h"
#include "tests/platform/fakes/FakePopupMenu.h"
#include "tests/platform/fakes/FakeProcessStarter.h"
#include "tests/platform/fakes/FakeRegistry.h"
#include "tests/platform/fakes/FakeShell.h"

namespace korvane::app {
namespace {

using platform::fakes::FakePopupMenu;
using platform::fakes::FakeShell;

template <class Window>
int OpenWindowsOf()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (dynamic_cast<Window*>(widget) != nullptr && widget->isVisible()) ++count;
    return count;
}

void Unload()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class NavigationTest : public ::testing::Test {
protected:
    NavigationTest()
    {
        branding.DisplayTitle = "Korvane";
        owner.resize(488, 405);
        owner.show();
    }
    ~NavigationTest() override
    {
        owner.close();
        Unload();
    }

    // Clicks the menu button and picks `command` from the menu.
    void Choose(int command)
    {
        menus.choice = command;
        navigation.PopUpMenu();
    }

    QApplication& app = test_support::TestApp();
    Branding branding;
    QWidget owner;
    FakePopupMenu menus;
    FakeShell shell;
    platform::fakes::FakeRegistry registry;
    platform::fakes::FakeFileSystem files;
    platform::fakes::FakeProcessStarter processes;
    platform::fakes::FakeMessageBox messages;
    cNavigation navigation{owner, branding, {menus, shell, {registry, files, processes, messages}}};
};

TEST_F(NavigationTest, MenuOffersQuickHelpThenAbout)
{
    Choose(0);
    ASSERT_EQ(menus.shown.size(), 1U);
    ASSERT_EQ(menus.shown[0].size(), 2U);
    EXPECT_EQ(menus.shown[0][0].text, "Quick Help");
    EXPECT_EQ(menus.shown[0][0].command, 1001);
    EXPECT_EQ(menus.shown[0][1].text, "About");
    EXPECT_EQ(menus.shown[0][1].command, 1000);
    Choose(0);
    EXPECT_EQ(menus.shown.size(), 2U) << "the menu is built for each click";
}

TEST_F(NavigationTest, CommandsOpenTheirWindow)
{
    struct Case {
        int command;
        bool about;
        bool quickHelp;
    };
    for (const Case& c :
         {Case{0, false, false}, Case{1000, true, false}, Case{1001, false, true}, Case{999, false, false}}) {
        Choose(c.command);
        EXPECT_EQ(navigation.About() != nullptr, c.about) << c.command;
        EXPECT_EQ(navigation.QuickHelp() != nullptr, c.quickHelp) << c.command;
        navigation.CloseSecondaryWindows();
        Unload();
    }
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(NavigationTest, ClosedWindowLoadsAgainWithTheBranding)
{
    Choose(1000);
    navigation.About()->cmdOK->click();
    Unload();
    EXPECT_EQ(navigation.About(), nullptr);
    EXPECT_EQ(OpenWindowsOf<fAbout>(), 0);
    Choose(1000);
    ASSERT_NE(navigation.About(), nullptr);
    EXPECT_EQ(navigation.About()->windowTitle(), QStringLiteral("About Korvane"));
    EXPECT_EQ(OpenWindowsOf<fAbout>(), 1);
}

}  // namespace
}  // namespace korvane::app
