#include "app/cNavigation.h"

#include "app/mUtils.h"

namespace korvane::app {
namespace {

void BringForward(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

cNavigation::cNavigation(QWidget& owner, const Branding& branding, NavigationPlatform platform)
    : owner_(owner), branding_(branding), platform_(platform)
{
}

void cNavigation::PopUpMenu(std::optional<platform::ScreenPoint> at)
{
    const std::vector<platform::MenuItem> items{{"Quick Help", kCommandQuickHelp}, {"About", kCommandAbout}};
    const int command = at ? platform_.menus.TrackAt(items, *at) : platform_.menus.TrackAtPointer(items);
    if (command == kCommandAbout) ShowAbout();
    if (command == kCommandQuickHelp) ShowQuickHelp();
}

void cNavigation::lblName_Click(int Index)
{
    if (Index == 0) OpenLink(platform_.shell, branding_.DisplayLink);
}

void cNavigation::imBanner_Click()
{
    OpenLink(platform_.shell, branding_.DisplayLink);
}

void cNavigation::ShowQuickHelp()
{
    if (quickHelp_.isNull()) quickHelp_ = new fQuickHelp(&owner_, branding_.DisplayTitle);
    BringForward(*quickHelp_);
}

void cNavigation::ShowAbout()
{
    if (about_.isNull()) about_ = new fAbout(&owner_, branding_.DisplayTitle, branding_.DisplayLink, platform_.sysInfo);
    BringForward(*about_);
}

void cNavigation::CloseSecondaryWindows()
{
    if (!quickHelp_.isNull()) quickHelp_->close();
    if (!about_.isNull()) about_->close();
}

}  // namespace korvane::app
