#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt/QtSettingsStore.h"
#include "tests/support/QtTestApp.h"

namespace korvane::platform::qt {
namespace {

TEST(QtSettingsStore, KeepsStringsBySectionAndKey)
{
    korvane::test_support::TestApp();
    QTemporaryDir dir;
    const QString ini = dir.filePath("Korvane.ini");
    {
        QtSettingsStore store(ini);
        EXPECT_EQ(store.GetSetting("Korvane", "Settings", "Weight", "140"), "140");
        store.SaveSetting("Korvane", "Settings", "Weight", "150 kg");
        store.SaveSetting("Korvane", "Settings", "Height", "20");
    }
    // A later run with a new store reads what the earlier one saved.
    QtSettingsStore later(ini);
    EXPECT_EQ(later.GetSetting("Korvane", "Settings", "Weight", "140"), "150 kg");
    EXPECT_EQ(later.GetSetting("Korvane", "Settings", "Height", "0"), "20");
    EXPECT_EQ(later.GetSetting("Korvane", "Other", "Height", "none"), "none");
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Settings/Weight").toString(), "150 kg");
}

}  // namespace
}  // namespace korvane::platform::qt
