#include "sprites/SpriteToast.h"

#include <gtest/gtest.h>

// SpriteToast runs the base class's motion unchanged, so it stands in for the
// base class, whose constructor is not public.
namespace {

struct DepthCase {
    float z;
    float colour;
    float size;
    float speed;
};

class SpriteDepth : public testing::TestWithParam<DepthCase> { };

} // namespace

TEST(Sprite, NewSpriteIsAllZeroAndDoesNotMove)
{
    SpriteToast sprite;
    EXPECT_EQ(sprite.colour, 0.0f);
    EXPECT_EQ(sprite.size, 0.0f);
    EXPECT_EQ(sprite.x, 0.0f);
    EXPECT_EQ(sprite.y, 0.0f);
    EXPECT_EQ(sprite.z(), 0.0f);
    sprite.x = 100;
    sprite.y = 100;
    sprite.update(1.0f); // speed is still 0 until the depth is written
    EXPECT_EQ(sprite.x, 100.0f);
    EXPECT_EQ(sprite.y, 100.0f);
}

TEST_P(SpriteDepth, DerivesTintSizeAndSpeed)
{
    const DepthCase& c = GetParam();
    SpriteToast sprite;
    sprite.z(c.z);
    EXPECT_EQ(sprite.z(), c.z);
    EXPECT_EQ(sprite.colour, c.colour);
    EXPECT_EQ(sprite.size, c.size);
    // speed is protected; its value shows in one tick at factor 1 from x = 0.
    sprite.update(1.0f);
    EXPECT_EQ(sprite.x, static_cast<float>(-(static_cast<double>(c.speed) * 2.5)));
}

// Expected values are the single-precision results of the double formulas.
// z = 0.95f lies just below 0.95, so its tint is the linear 0.97 (as a float,
// 0.96999997f, one step below the literal 0.97f), not full brightness.
INSTANTIATE_TEST_SUITE_P(Table, SpriteDepth,
    testing::Values(DepthCase { 0.0f, 0.4f, 20.0f, 0.3f }, DepthCase { 0.5f, 0.7f, 35.0f, 0.65f },
        DepthCase { 0.95f, 0.96999997f, 48.5f, 0.965f }, DepthCase { 0.96f, 1.0f, 48.8f, 0.972f },
        DepthCase { 1.0f, 1.0f, 50.0f, 1.0f }, DepthCase { 2.0f, 1.0f, 80.0f, 1.7f })); // not clamped

TEST(Sprite, TintJumpsOnlyStrictlyAboveNinetyFive)
{
    SpriteToast sprite;
    sprite.z(0.95f);
    EXPECT_LT(sprite.colour, 1.0f);
    sprite.z(0.9500001f);
    EXPECT_EQ(sprite.colour, 1.0f);
}

TEST(Sprite, BaseMotion)
{
    SpriteToast sprite;
    sprite.z(1.0f);
    sprite.x = 100;
    sprite.y = 100;
    sprite.update(1.0f);
    EXPECT_EQ(sprite.x, 97.5f);
    EXPECT_EQ(sprite.y, 99.0f);

    sprite.z(0.5f);
    sprite.x = 100;
    sprite.y = 100;
    sprite.update(1.5f);
    EXPECT_EQ(sprite.x, static_cast<float>(100.0 - static_cast<double>(0.65f) * (2.5 * 1.5)));
    EXPECT_EQ(sprite.y, static_cast<float>(100.0 - static_cast<double>(0.65f) * 1.5));
    EXPECT_NEAR(sprite.x, 97.5625, 1e-4);
    EXPECT_NEAR(sprite.y, 99.025, 1e-4);

    sprite.update(0.0f); // an unsized window moves nothing
    EXPECT_NEAR(sprite.x, 97.5625, 1e-4);
}
