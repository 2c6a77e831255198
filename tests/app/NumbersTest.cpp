// Number reading, rounding and the display patterns.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "app/mNumbers.h"

namespace korvane::app {
namespace {

TEST(Val, TheNumberATextBeginsWith)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"140", 140},     {"1 50.5kg", 150.5},  // blanks anywhere are ignored, reading stops at the letters
        {"70,5", 70},                           // a comma is no decimal point, whatever the locale
        {"\t 7\t2 ", 72}, {"-12.5", -12.5},
        {"+3", 3},        {"- 4", -4},
        {".5", 0.5},      {"-.25", -0.25},
        {"1.2.3", 1.2},   {"1E3", 1000},
        {"2.5e-1", 0.25}, {"1E+2x", 100},
        {"1E", 1},        {"1E+", 1},
        {"1E 2", 100},    {"", 0},
        {"kg", 0},        {"E5", 0},
        {".", 0},         {"-", 0},
        {"--5", 0},       {"1E-400", 0},  // too small to tell from 0
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Val, NumbersBeyondADoubleOverflow)
{
    EXPECT_THROW(Val("1E309"), std::overflow_error);
    EXPECT_THROW(Val("-2E400"), std::overflow_error);
    EXPECT_THROW(Val("1E99999999999999999999"), std::overflow_error);
    EXPECT_THROW(Val(std::string(400, '9')), std::overflow_error);
    EXPECT_DOUBLE_EQ(Val("0.000000000000000000001E-310"), 0.0);
    EXPECT_DOUBLE_EQ(Val("1E308"), 1e308);
}

TEST(CInt, RoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    struct Case {
        double value;
        int rounded;
    };
    const Case cases[] = {{2.5, 2},         {3.5, 4},           {-2.5, -2},      {-3.5, -4}, {2.4999, 2},
                          {2.5001, 3},      {0.5, 0},           {-0.5, 0},       {35, 35},   {-1, -1},
                          {32767.4, 32767}, {-32768.5, -32768}, {32766.5, 32766}};
    for (const Case& c : cases)
        EXPECT_EQ(CInt(c.value), c.rounded) << c.value;
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_THROW(CInt(-32769), std::overflow_error);
    EXPECT_THROW(CInt(1e300), std::overflow_error);
    EXPECT_THROW(CInt(std::numeric_limits<double>::quiet_NaN()), std::overflow_error);
}

TEST(Format, ThePatternsOfTheResult)
{
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {21.330017, "###.0#", "21.33"}, {25.0, "###.0#", "25.0"},
        {24.996, "###.0#", "25.0"},     {46.926, "###.0#", "46.93"},
        {0.5, "###.0#", ".5"},  // no digit before the point below 1
        {0.004, "###.0#", ".0"},        {123.456, "###.0#", "123.46"},
        {99.999, "###.0#", "100.0"},    {5, "###.0#", "5.0"},
        {0.125, "###.00", ".13"},  // an exact half rounds away from zero
        {147.679, "###.00", "147.68"},  {67.127, "###.00", "67.13"},
        {1.005, "###.00", "1.01"},  // rounded from the 15 digits a user reads, not the binary value
        {12, "###.00", "12.00"},        {-1.5, "###.0#", "-1.5"},
        {-0.001, "###.00", ".00"},      {12345678.9, "###.0#", "12345678.9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(c.value, c.pattern, "."), c.text) << c.value << " " << c.pattern;
    EXPECT_EQ(Format(1e300, "###.00", "."), "1" + std::string(300, '0') + ".00");
}

TEST(Format, WritesTheLocalesSeparator)
{
    EXPECT_EQ(Format(21.330017, "###.0#", ","), "21,33");
    EXPECT_EQ(Format(0.5, "###.00", "\u066B"), "\u066B50");
    EXPECT_THROW(Format(std::numeric_limits<double>::infinity(), "###.00", "."), std::invalid_argument);
}

}  // namespace
}  // namespace korvane::app
