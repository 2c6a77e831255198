// What the navigation and secondary-window tests share: the test program's
// QApplication, recording fakes of the message box and the file lookup, and
// PNG output.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QWidget>

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "tests/support/QtTestApp.h"

namespace korvane::app::testing {

using korvane::testing::TestApp;

struct ShownMessage {
    std::string text;
    std::string title;
    platform::MessageIcon icon;
};

class RecordingMessageBox final : public platform::MessageBox {
public:
    void Show(const std::string& text, const std::string& title, platform::MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
    }
    std::vector<ShownMessage> shown;
};

// Only Matches is asked of the file system here.
class LookupFileSystem final : public platform::FileSystem {
public:
    std::string ProgramFolder() const override { return "C:\\Korvane"; }
    bool Matches(const std::string& path) const override
    {
        looked.push_back(path);
        return existing.contains(path);
    }
    std::uint64_t FileLength(const std::string&) const override { return 0; }
    void DeleteFile(const std::string&) override {}
    std::vector<std::uint8_t> OpenAndRead(const std::string&) override { return {}; }

    std::set<std::string> existing;
    mutable std::vector<std::string> looked;
};

// Renders a shown window into KORVANE_TEST_OUTPUT_DIR/<name>.png.
inline bool SavePng(QWidget& window, const QString& name)
{
    QDir().mkpath(QStringLiteral(KORVANE_TEST_OUTPUT_DIR));
    return window.grab().save(QStringLiteral(KORVANE_TEST_OUTPUT_DIR "/") + name + QStringLiteral(".png"));
}

}  // namespace korvane::app::testing
