#include "platform/Random.h"
#include "platform/RuntimeException.h"

#include <gtest/gtest.h>
#include <map>

using platform::Random;

TEST(Random, InRangeCoversBothBoundsUniformly)
{
    Random random;
    std::map<std::int64_t, int> seen;
    constexpr int draws = 60000;
    for (int i = 0; i < draws; ++i) {
        auto v = random.InRange(0, 5);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 5);
        ++seen[v];
    }
    ASSERT_EQ(seen.size(), 6u);
    for (auto [value, count] : seen)
        EXPECT_NEAR(count, draws / 6, draws / 60) << "value " << value;
}

TEST(Random, DegenerateAndReversedRanges)
{
    Random random;
    EXPECT_EQ(random.InRange(7, 7), 7);
    EXPECT_EQ(random.InRange(-3, -3), -3);
    for (int i = 0; i < 1000; ++i) {
        auto v = random.InRange(10, 4); // reversed: taken as 4..10
        ASSERT_GE(v, 4);
        ASSERT_LE(v, 10);
    }
    auto wide = random.InRange(INT64_MIN, INT64_MAX);
    (void)wide; // must not be undefined behaviour
}

TEST(Random, ScriptedDrawsComeInOrderAndAreChecked)
{
    Random random;
    random.Script({ 3, 0, 130 });
    EXPECT_EQ(random.InRange(0, 7), 3);
    EXPECT_EQ(random.InRange(0, 5), 0);
    EXPECT_EQ(random.InRange(0, 130), 130);
    EXPECT_THROW(random.InRange(0, 1), platform::OutOfBoundsException); // used up
    ASSERT_EQ(random.ScriptedCalls().size(), 4u);
    EXPECT_EQ(random.ScriptedCalls()[1], std::make_pair(std::int64_t { 0 }, std::int64_t { 5 }));

    random.Script({ 9 });
    EXPECT_THROW(random.InRange(0, 5), platform::OutOfBoundsException); // outside the range
    random.Unscript();
    EXPECT_FALSE(random.IsScripted());
    EXPECT_LE(random.InRange(0, 1), 1);
}

TEST(Random, SystemRandomIsOneSharedObject) { EXPECT_EQ(&platform::System::Random(), &platform::System::Random()); }
