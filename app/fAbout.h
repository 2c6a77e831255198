// The About box: the program's title, version and a short description ending
// in the distributor's link, and a button that starts the operating system's
// System Information tool, found through the registry. Not modal; owned by
// the main window. OK, Escape and the close box unload (delete) it.
#pragma once

#include <string>

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProcessStarter.h"
#include "platform/Registry.h"

namespace korvane::app {

// What the System Information button reaches of the platform.
struct SysInfoPlatform {
    const platform::Registry& registry;
    const platform::FileSystem& files;
    platform::ProcessStarter& processes;
    platform::MessageBox& messages;
};

class fAbout final : public QDialog {
public:
    // Creating the box runs its load handler with the branding values.
    fAbout(QWidget* owner, const std::string& DisplayTitle, const std::string& DisplayLink, SysInfoPlatform platform);

    // Starts the System Information program, or says that it cannot.
    void StartSysInfo();
    // Reads the string value `SubKeyRef` of `KeyName` under `KeyRoot` into
    // `KeyVal`. False, `KeyVal` empty, when the key cannot be opened for
    // reading or the value cannot be read; values of other types leave
    // `KeyVal` as it was and still count as read.
    bool GetKeyValue(platform::HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal) const;

    QLabel* const picIcon;
    QPushButton* const cmdOK;
    QPushButton* const cmdSysInfo;
    QLabel* const lblDescription;
    QLabel* const lblTitle;
    QLabel* const lblVersion;
    QLabel* const lblDisclaimer;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load(const std::string& DisplayTitle, const std::string& DisplayLink);
    void PlaceControls();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    SysInfoPlatform platform_;
};

}  // namespace korvane::app
