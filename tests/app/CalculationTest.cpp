// The BMI calculation, its bands, the height list and the label captions.
#include <gtest/gtest.h>

#include "app/BmiCalculation.h"
#include "app/Captions.h"
#include "app/HeightList.h"

namespace korvane::app {
namespace {

TEST(ComputeBmi, PoundsAndKilogramsAtFiveFeetEight)
{
    struct Case {
        bool kilograms = false;
        double bmi = 0;
        double tolerance = 0;
        BmiBand band = BmiBand::Normal;
        const char* bmiCaption = nullptr;
        const char* weightCaption = nullptr;
    };
    for (const Case& c : {Case{false, 21.330017, 1e-6, BmiBand::Normal, "21.33", "Weight for 22.5 BMI : 147.68 lbs"},
                          Case{true, 46.926, 1e-3, BmiBand::Extreme, "46.93", "Weight for 22.5 BMI : 67.13 kgs."}}) {
        const BmiOutcome outcome = ComputeBmi("140", c.kilograms, 20);
        ASSERT_TRUE(outcome.Result) << c.kilograms;
        EXPECT_NEAR(outcome.Result->Bmi, c.bmi, c.tolerance);
        EXPECT_EQ(outcome.Result->Band, c.band);
        EXPECT_EQ(BmiCaption(outcome.Result->Bmi, "."), c.bmiCaption);
        EXPECT_EQ(ReferenceWeightCaption(outcome.Result->ReferenceWeight, c.kilograms, "."), c.weightCaption);
    }
}

TEST(ComputeBmi, TheWeightIsReadAsTheUserTypedIt)
{
    EXPECT_DOUBLE_EQ(ComputeBmi("1 50.5kg", false, 20).Result->Bmi, 150.5 / (68.0 * 68.0) * 704.5);
    EXPECT_DOUBLE_EQ(ComputeBmi("70,5", false, 20).Result->Bmi, 70.0 / (68.0 * 68.0) * 704.5);
}

TEST(ComputeBmi, RefusesMissingEntries)
{
    struct Case {
        const char* weight;
        bool kilograms;
        int height;
        const char* message;
    };
    const Case cases[] = {
        {"kg", false, 20, kSpecifyWeight},   {"", false, 20, kSpecifyWeight},      {"0", true, 20, kSpecifyWeight},
        {"-5", false, 20, kSpecifyWeight},   {"1E309", false, 20, kSpecifyWeight},  // beyond a double
        {"1E308", true, 20, kSpecifyWeight},                                        // finite, but not in pounds
        {"abc", false, -1, kSpecifyWeight},                                         // the weight is asked for first
        {"140", false, -1, kSpecifyHeight},
    };
    for (const Case& c : cases) {
        const BmiOutcome outcome = ComputeBmi(c.weight, c.kilograms, c.height);
        EXPECT_FALSE(outcome.Result) << c.weight;
        EXPECT_EQ(outcome.Message, c.message) << c.weight;
    }
    EXPECT_TRUE(ComputeBmi("1E308", false, 0).Result) << "large but finite in pounds";
}

TEST(BandOf, BoundariesBelongToTheHigherBand)
{
    struct Case {
        double bmi;
        BmiBand band;
    };
    const Case cases[] = {{0.1, BmiBand::Underweight}, {19.999, BmiBand::Underweight}, {20, BmiBand::Normal},
                          {24.996, BmiBand::Normal},   {25, BmiBand::Overweight},      {29.99, BmiBand::Overweight},
                          {30, BmiBand::Obese},        {39.999, BmiBand::Obese},       {40, BmiBand::Extreme},
                          {1e300, BmiBand::Extreme}};
    for (const Case& c : cases)
        EXPECT_EQ(BandOf(c.bmi), c.band) << c.bmi;
}

TEST(BandOf, ColoursAndNamesOfTheLegend)
{
    EXPECT_EQ(BandColour(BmiBand::Underweight), (Rgb{0, 0, 255}));
    EXPECT_EQ(BandColour(BmiBand::Normal), (Rgb{0, 128, 0}));
    EXPECT_EQ(BandColour(BmiBand::Overweight), (Rgb{255, 128, 64}));
    EXPECT_EQ(BandColour(BmiBand::Obese), (Rgb{200, 0, 0}));
    EXPECT_EQ(BandColour(BmiBand::Extreme), (Rgb{255, 0, 0}));
    EXPECT_STREQ(BandCaption(BmiBand::Underweight), " = Underweight");
    EXPECT_EQ(BandName(BmiBand::Extreme), "Extreme");
}

TEST(HeightList, EntriesFromFourFeetToSixFeetEleven)
{
    EXPECT_EQ(HeightEntry(0), "4'");
    EXPECT_EQ(HeightEntry(1), "4' 1\"");
    EXPECT_EQ(HeightEntry(11), "4' 11\"");
    EXPECT_EQ(HeightEntry(12), "5'");
    EXPECT_EQ(HeightEntry(20), "5' 8\"");
    EXPECT_EQ(HeightEntry(35), "6' 11\"");
}

TEST(HeightList, SavedHeights)
{
    struct Case {
        const char* saved;
        int index;
    };
    const Case cases[] = {{"20", 20},   {"35", 35}, {"36", -1},   {"-5", -1},   {"-1", -1},   {"tall", 0}, {"", 0},
                          {"2.5", 2},   {"3.5", 4}, {" 1 2", 12}, {"34.5", 34}, {"35.5", -1},  // rounds to 36
                          {"1E5", -1},                                                         // does not fit 16 bits
                          {"1E400", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(SavedHeightIndex(c.saved), c.index) << '"' << c.saved << '"';
}

TEST(ShownCaption, DoubleAmpersandsShowOne)
{
    EXPECT_EQ(ShownCaption("(Your company name && link or small banner here)"),
              "(Your company name & link or small banner here)");
    EXPECT_EQ(ShownCaption("&File"), "File");
    EXPECT_EQ(ShownCaption("a &&& b &"), "a & b ");
    EXPECT_EQ(ShownCaption("&&&&"), "&&");
}

TEST(WindowTitle, DoublesEachModifiedMark)
{
    EXPECT_EQ(WindowTitle("About Korvane"), "About Korvane");
    EXPECT_EQ(WindowTitle("Fit[*]Co"), "Fit[*][*]Co");
    EXPECT_EQ(WindowTitle("[*][*]"), "[*][*][*][*]");
    EXPECT_EQ(WindowTitle("[*"), "[*");
    EXPECT_EQ(WindowTitle(""), "");
}

}  // namespace
}  // namespace korvane::app
