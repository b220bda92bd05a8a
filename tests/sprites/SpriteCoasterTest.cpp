#include "sprites/SpriteCoaster.h"
#include "ScriptedRandom.h"

using SpriteCoasterTest = ScriptedRandom;

namespace {

// Ticks the coaster n times and returns the frames it showed after each tick.
std::vector<std::int64_t> tick(SpriteCoaster& coaster, int n)
{
    std::vector<std::int64_t> frames;
    for (int i = 0; i < n; ++i) {
        coaster.update(1.0f);
        frames.push_back(coaster.index);
    }
    return frames;
}

std::vector<std::int64_t> run(std::int64_t from, std::int64_t to)
{
    std::vector<std::int64_t> frames;
    for (auto i = from; i <= to; ++i)
        frames.push_back(i);
    return frames;
}

} // namespace

TEST_F(SpriteCoasterTest, EndOfFlapDrawRepeatsOnTwoToFive)
{
    for (std::int64_t draw : { 2, 3, 4, 5 }) {
        script({ 63, draw });
        SpriteCoaster coaster;
        EXPECT_EQ(tick(coaster, 3), (std::vector<std::int64_t> { 0, 1, 2 })) << "draw " << draw;
        EXPECT_EQ(remaining(), 0u);
    }
}

TEST_F(SpriteCoasterTest, FullCycleThroughEveryState)
{
    // flap ends (draw 0) -> start coasting 64..86 -> coasting 87..110 -> repeat
    // (draw 5) from 86 -> leave (draw 1) -> stop coasting 111..130 -> flapping.
    script({ 63, 0, 5, 1 });
    SpriteCoaster coaster;
    std::vector<std::int64_t> expected = run(64, 110);
    for (auto f : run(86, 130))
        expected.push_back(f);
    for (auto f : run(0, 3))
        expected.push_back(f);
    EXPECT_EQ(tick(coaster, static_cast<int>(expected.size())), expected);
    EXPECT_EQ(remaining(), 0u) << "the passes between the loops draw nothing";
}

TEST_F(SpriteCoasterTest, FirstFrameAnywhereStillStartsFlapping)
{
    script({ 100, 4 });
    SpriteCoaster repeats;
    EXPECT_EQ(tick(repeats, 2), (std::vector<std::int64_t> { 0, 1 }));

    script({ 100, 1 });
    SpriteCoaster movesOn;
    EXPECT_EQ(tick(movesOn, 2), (std::vector<std::int64_t> { 64, 65 }));

    script({ 62 });
    SpriteCoaster countsUp;
    EXPECT_EQ(tick(countsUp, 1), (std::vector<std::int64_t> { 63 }));
    EXPECT_EQ(remaining(), 0u);
}

TEST_F(SpriteCoasterTest, MovesOnEveryTickIncludingDrawTicks)
{
    script({ 63, 3 });
    SpriteCoaster coaster;
    coaster.z(1.0f);
    coaster.x = 100;
    coaster.y = 100;
    coaster.update(2.0f); // the end-of-flap tick
    EXPECT_EQ(coaster.x, 95.0f);
    EXPECT_EQ(coaster.y, 98.0f);
}

TEST(SpriteCoasterRandom, NeverLeavesTheToasterFrames)
{
    SpriteCoaster coaster;
    for (int i = 0; i < 100000; ++i) {
        coaster.update(1.0f);
        ASSERT_GE(coaster.index, 0);
        ASSERT_LE(coaster.index, 130);
    }
}
