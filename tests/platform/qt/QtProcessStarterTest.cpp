#include <gtest/gtest.h>

#include "platform/qt/QtProcessStarter.h"

namespace korvane::platform::qt {
namespace {

TEST(QtProcessStarter, StartsProgramsAndReportsFailure)
{
    QtProcessStarter processes;
    EXPECT_TRUE(processes.Start("/bin/true"));
    EXPECT_TRUE(processes.Start("\\bin\\true")) << "\"\\\" is a separator";
    EXPECT_FALSE(processes.Start("/nonexistent/korvane-sysinfo"));
    EXPECT_FALSE(processes.Start(""));
}

}  // namespace
}  // namespace korvane::platform::qt
