#include <gtest/gtest.h>

#include "platform/Windows1252.h"

namespace korvane::platform {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> codes)
{
    std::vector<std::uint8_t> bytes;
    for (int code : codes)
        bytes.push_back(static_cast<std::uint8_t>(code));
    return bytes;
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip)
{
    const Windows1252 encoding;
    std::vector<std::uint8_t> all;
    all.reserve(256);
    for (int code = 0; code < 256; ++code)
        all.push_back(static_cast<std::uint8_t>(code));
    const std::string text = encoding.ToUtf8(all);
    EXPECT_EQ(encoding.FromUtf8(text), all);
}

TEST(Windows1252, DecodesTheCodePageNotLatin1)
{
    const Windows1252 encoding;
    struct Case {
        int byte;
        const char* utf8;
    };
    const Case cases[] = {
        {0x41, "A"},
        {0x80, "\u20AC"},
        {0x8A, "\u0160"},
        {0x93, "\u201C"},
        {0x97, "\u2014"},
        {0xA0, "\u00A0"},
        {0xE9, "\u00E9"},
        {0xFF, "\u00FF"},
        {0x81, "\u0081"},  // unassigned: the C1 control of the
                           // same value, as Windows does
        {0x9D, "\u009D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encoding.ToUtf8(Bytes({c.byte})), c.utf8) << "byte " << c.byte;
        EXPECT_EQ(encoding.FromUtf8(c.utf8), Bytes({c.byte})) << "byte " << c.byte;
    }
}

TEST(Windows1252, RefusesWhatItCannotHold)
{
    const Windows1252 encoding;
    EXPECT_FALSE(encoding.FromUtf8("Ohm \u03A9"));
    EXPECT_FALSE(encoding.FromUtf8("\xFF\xFE broken UTF-8"));
    EXPECT_FALSE(encoding.FromUtf8("\u0080"));  // a C1 control whose byte is a character (the euro sign)
    EXPECT_FALSE(encoding.FromUtf8("\xC2"));    // cut short
}

TEST(Windows1252, LongTextsConvertWhole)
{
    const Windows1252 encoding;
    const std::vector<std::uint8_t> many(5000, 0xE9);
    const std::string text = encoding.ToUtf8(many);
    EXPECT_EQ(text.size(), 10000u);
    EXPECT_EQ(encoding.FromUtf8(text), many);
}

}  // namespace
}  // namespace korvane::platform
