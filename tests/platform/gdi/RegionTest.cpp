#include <gtest/gtest.h>

#include "TestSurface.h"

namespace korvane::gdi {
namespace {

using testing::TestSurface;

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int Cover(const std::vector<RECT>& rects, int x, int y)
{
    int n = 0;
    for (const RECT& r : rects)
        n += Contains(r, x, y) ? 1 : 0;
    return n;
}

struct DiffCase {
    const char* name;
    RECT a, b;
    int kind;
};

class RegionDiffTest : public ::testing::TestWithParam<DiffCase> {};

// Checked pixel by pixel: every pixel of a outside b is covered exactly once,
// nothing else at all.
TEST_P(RegionDiffTest, CoversExactlyTheDifference)
{
    const DiffCase& c = GetParam();
    const HRGN a = CreateRectRgn(c.a.left, c.a.top, c.a.right, c.a.bottom);
    const HRGN b = CreateRectRgn(c.b.left, c.b.top, c.b.right, c.b.bottom);
    const HRGN result = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(result, a, b, RGN_DIFF), c.kind);
    const std::vector<RECT> rects = GetRegionRects(result);
    for (int y = -2; y < 14; ++y)
        for (int x = -2; x < 14; ++x) {
            const bool inside = Contains(c.a, x, y) && !Contains(c.b, x, y);
            EXPECT_EQ(Cover(rects, x, y), inside ? 1 : 0) << x << "," << y;
        }
    for (HRGN r : {a, b, result})
        EXPECT_TRUE(DeleteObject(r));
}

INSTANTIATE_TEST_SUITE_P(Cases, RegionDiffTest,
                         ::testing::Values(DiffCase{"Disjoint", {0, 0, 4, 4}, {6, 6, 8, 8}, SIMPLEREGION},
                                           DiffCase{"Hole", {0, 0, 10, 10}, {3, 4, 6, 7}, COMPLEXREGION},
                                           DiffCase{"CoveredWhole", {2, 2, 5, 5}, {0, 0, 10, 10}, NULLREGION},
                                           DiffCase{"LeftStrip", {0, 0, 10, 10}, {2, -1, 11, 11}, SIMPLEREGION},
                                           DiffCase{"Corner", {0, 0, 10, 10}, {5, 5, 12, 12}, COMPLEXREGION},
                                           DiffCase{"EmptyPicture", {0, 0, 10, 10}, {4, 4, 4, 4}, SIMPLEREGION}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Region, CornersAreOrderedAndTheResultMayBeAnOperand)
{
    const HRGN a = CreateRectRgn(10, 10, 0, 0);
    const HRGN b = CreateRectRgn(0, 0, 5, 10);
    EXPECT_EQ(CombineRgn(a, a, b, RGN_DIFF), SIMPLEREGION);
    EXPECT_EQ(GetRegionRects(a), (std::vector<RECT>{{5, 0, 10, 10}}));
    EXPECT_EQ(CombineRgn(a, a, b, 1), RGN_ERROR);
    EXPECT_EQ(CombineRgn(a, a, HRGN{}, RGN_DIFF), RGN_ERROR);
    DeleteObject(a);
    DeleteObject(b);
}

TEST(Region, FillPaintsOnlyTheMargins)
{
    TestSurface s(6, 4, 32);
    const HRGN all = CreateRectRgn(0, 0, 6, 4), picture = CreateRectRgn(1, 1, 5, 3);
    CombineRgn(all, all, picture, RGN_DIFF);
    const HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    EXPECT_TRUE(FillRgn(s.dc(), all, brush));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool margin = x == 0 || x == 5 || y == 0 || y == 3;
            EXPECT_EQ(s.Get(x, y), margin ? 0x0000FFu : 0u) << x << "," << y;
        }
    EXPECT_FALSE(FillRgn(s.dc(), HRGN{}, brush));
    DeleteObject(brush);
    DeleteObject(all);
    DeleteObject(picture);
}

}  // namespace
}  // namespace korvane::gdi
