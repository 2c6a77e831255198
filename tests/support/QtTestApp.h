// One QApplication for a whole test program, on whatever platform the run
// asks for (offscreen under ctest). It is made before the first test and
// destroyed after the last, so that Qt releases its font database; left
// alive, its fontconfig patterns show up as leaks under AddressSanitizer.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

namespace korvane::test_support {

class QtTestEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { App(); }
    void TearDown() override { app_.reset(); }

    QApplication& App()
    {
        if (!app_) app_ = std::make_unique<QApplication>(argc_, argv_);
        return *app_;
    }

private:
    int argc_ = 1;
    char name_[14] = "korvane-tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline QtTestEnvironment* const kQtTestEnvironment =
    static_cast<QtTestEnvironment*>(::testing::AddGlobalTestEnvironment(new QtTestEnvironment));

// The test program's application, made on first use.
inline QApplication& TestApp()
{
    return kQtTestEnvironment->App();
}

}  // namespace korvane::test_support
