// The program's own look when no record brands it, as a user sees it: the
// record's tests and the branding tool's tests both expect it.
#pragma once

#include <gtest/gtest.h>

#include "app/mSetup.h"

namespace korvane::test_support {

inline void ExpectDefaultLook(const app::Branding& branding)
{
    EXPECT_EQ(branding.DisplayCompany, "(Your company name && link or small banner here)");
    EXPECT_EQ(branding.DisplayTitle, "Korvane");
    EXPECT_EQ(branding.Record.CompanyFontSize, 17);
    EXPECT_EQ(branding.Record.TitleFontSize, 8);
    EXPECT_EQ(branding.Record.FontName, "Tahoma");
}

}  // namespace korvane::test_support
