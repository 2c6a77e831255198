#include <algorithm>
#include <climits>

#include <gtest/gtest.h>

#include "platform/gdi/AxisMap.h"

namespace korvane::gdi {
namespace {

std::vector<int> Sources(const AxisMap& m)
{
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(std::max(m.count, 0)));
    for (int k = 0; k < m.count; ++k)
        out.push_back(m.Src(k));
    return out;
}

struct MapCase {
    const char* name;
    std::int64_t d, de, s, se;
    int dstLimit, srcLimit;
    int dstStart;
    std::vector<int> sources;
};

class MapAxisTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapAxisTest, MapsEachDestinationPixelToOneSourcePixel)
{
    const MapCase& c = GetParam();
    const AxisMap m = MapAxis(c.d, c.de, c.s, c.se, c.dstLimit, c.srcLimit);
    EXPECT_EQ(Sources(m), c.sources);
    if (!c.sources.empty()) {
        EXPECT_EQ(m.dstStart, c.dstStart);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MapAxisTest,
    ::testing::Values(MapCase{"OneToOne", 2, 3, 1, 3, 10, 10, 2, {1, 2, 3}},
                      MapCase{"ClippedLeftOfDestination", -2, 4, 0, 4, 10, 10, 0, {2, 3}},
                      MapCase{"ClippedRightOfDestination", 8, 4, 0, 4, 10, 10, 8, {0, 1}},
                      MapCase{"SourceOffItsSurfaceIsDropped", 0, 4, -1, 4, 10, 10, 1, {0, 1, 2}},
                      MapCase{"DoubledRepeatsEachPixel", 0, 6, 0, 3, 10, 10, 0, {0, 0, 1, 1, 2, 2}},
                      MapCase{"HalvedKeepsEveryOtherPixel", 0, 2, 0, 4, 10, 10, 0, {1, 3}},
                      MapCase{"NegativeDestinationMirrors", 4, -4, 0, 4, 10, 10, 0, {3, 2, 1, 0}},
                      MapCase{"BothNegativeDoNotMirror", 4, -4, 4, -4, 10, 10, 0, {0, 1, 2, 3}},
                      MapCase{"MirroredAndScaled", 0, 4, 2, -2, 10, 10, 0, {1, 1, 0, 0}},
                      MapCase{"ZeroDestinationExtent", 0, 0, 0, 4, 10, 10, 0, {}},
                      MapCase{"ZeroSourceExtent", 0, 4, 0, 0, 10, 10, 0, {}},
                      MapCase{"EntirelyOffTheDestination", 20, 4, 0, 4, 10, 10, 0, {}},
                      MapCase{"HugeOriginsDoNotOverflow", INT_MAX, INT_MAX, INT_MIN, INT_MIN, 10, 10, 0, {}},
                      MapCase{"HugeExtentsStayOnTheSurfaces", INT_MIN, INT_MIN, INT_MAX, INT_MIN, 4, 4, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapAxis, ExtremeScaleStillMapsInsideTheSource)
{
    const AxisMap m = MapAxis(0, 3, 0, INT_MAX, 3, INT_MAX);
    ASSERT_EQ(m.count, 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GE(m.Src(k), 0);
        EXPECT_LT(m.Src(k), INT_MAX);
    }
}

TEST(MapAxis, EnlargingNeitherShiftsTheFirstNorTheLastPixel)
{
    const AxisMap m = MapAxis(0, 7, 0, 3, 7, 3);
    ASSERT_EQ(m.count, 7);
    EXPECT_EQ(m.Src(0), 0);
    EXPECT_EQ(m.Src(6), 2);
}

}  // namespace
}  // namespace korvane::gdi
