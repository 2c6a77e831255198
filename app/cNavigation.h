// The main window's navigation: the menu button's popup menu and the banner
// links, together with the one instance of each secondary window that the
// menu opens.
#pragma once

#include <optional>

#include <QPointer>
#include <QWidget>

#include "app/fAbout.h"
#include "app/fQuickHelp.h"
#include "app/mSetup.h"
#include "platform/PopupMenu.h"
#include "platform/Shell.h"

namespace korvane::app {

// Commands of the menu button's popup menu.
inline constexpr int kCommandAbout = 1000;
inline constexpr int kCommandQuickHelp = 1001;

// What navigation reaches of the platform.
struct NavigationPlatform {
    platform::PopupMenu& menus;
    platform::Shell& shell;
    SysInfoPlatform sysInfo;
};

class cNavigation {
public:
    // `owner` is the main window and `branding` its display values; both
    // outlive this object.
    cNavigation(QWidget& owner, const Branding& branding, NavigationPlatform platform);
    cNavigation(const cNavigation&) = delete;
    cNavigation& operator=(const cNavigation&) = delete;

    // The menu button: pops up Quick Help and About at the pointer, or at
    // `at` when the button was pressed from the keyboard, and shows the
    // window chosen; a dismissed menu does nothing.
    void PopUpMenu(std::optional<platform::ScreenPoint> at = std::nullopt);
    // Index 0, the banner text, opens the link; the title line does nothing.
    void lblName_Click(int Index);
    void imBanner_Click();

    // Shows the window, not modal and owned by the main window, loading it
    // first unless it is already open; an open one is brought forward.
    void ShowQuickHelp();
    void ShowAbout();
    // The loaded windows, null while unloaded.
    fQuickHelp* QuickHelp() const { return quickHelp_; }
    fAbout* About() const { return about_; }
    // Closes the secondary windows that are still open; the main window
    // calls it as it closes.
    void CloseSecondaryWindows();

private:
    QWidget& owner_;
    const Branding& branding_;
    NavigationPlatform platform_;
    QPointer<fQuickHelp> quickHelp_;
    QPointer<fAbout> about_;
};

}  // namespace korvane::app
