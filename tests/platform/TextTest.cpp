#include "platform/Text.h"
#include "platform/RuntimeException.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace Text = platform::Text;

TEST(Text, FormatPadsToTheZerosOfThePattern)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        { 0, "0000" },
        { 7, "0007" },
        { 130, "0130" },
        { 12345, "12345" },
        { -7, "-0007" },
        { INT64_MIN, "-9223372036854775808" },
        { INT64_MAX, "9223372036854775807" },
    };
    for (auto [value, expected] : cases)
        EXPECT_EQ(Text::Format(value, "0000"), expected) << value;
    EXPECT_EQ(Text::Format(5, "0"), "5");

    for (const char* pattern : { "", "#", "00.0", "0000 " })
        EXPECT_THROW(Text::Format(1, pattern), platform::OutOfBoundsException) << '"' << pattern << '"';
}

TEST(Text, Str)
{
    EXPECT_EQ(Text::Str(0), "0");
    EXPECT_EQ(Text::Str(-42), "-42");
    EXPECT_EQ(Text::Str(INT64_MIN), "-9223372036854775808");
}

TEST(Text, ReplaceAll)
{
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        { "/toaster_*.png", "*", "0007", "/toaster_0007.png" },
        { "a*b*", "*", "", "ab" },
        { "aaa", "a", "b", "bbb" },
        { "aaaa", "aa", "a", "aa" }, // left to right, no overlap, no second pass
        { "x", "x", "xx", "xx" }, // a replacement holding from is not replaced again
        { "ABC", "b", "x", "ABC" }, // exact match
        { "abc", "d", "x", "abc" },
        { "abc", "", "x", "abc" }, // empty from: unchanged
        { "", "a", "b", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text::ReplaceAll(c.text, c.from, c.to), c.expected)
            << '"' << c.text << "\" \"" << c.from << "\" -> \"" << c.to << '"';
}
