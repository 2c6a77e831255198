// The main window's navigation: the menu button with its popup menu, the
// minimise and close buttons, and the banner links, together with the one
// instance of each secondary window that they open.
#pragma once

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

    // Index 0 pops up the menu, 1 minimises the main window, 2 closes it;
    // other indexes do nothing.
    void btnForm_Click(int Index);
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
    void PopUpMenu();

    QWidget& owner_;
    const Branding& branding_;
    NavigationPlatform platform_;
    QPointer<fQuickHelp> quickHelp_;
    QPointer<fAbout> about_;
};

}  // namespace korvane::app
