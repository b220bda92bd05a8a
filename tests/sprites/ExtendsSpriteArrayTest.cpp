#include "sprites/ExtendsSpriteArray.h"
#include "platform/RuntimeException.h"
#include "sprites/SpriteToast.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

std::shared_ptr<Sprite> at(float depth)
{
    auto s = std::make_shared<SpriteToast>();
    s->z(depth);
    return s;
}

SpriteArray list(std::initializer_list<float> depths)
{
    SpriteArray sprites;
    for (float d : depths)
        sprites.push_back(at(d));
    return sprites;
}

std::vector<float> depths(const SpriteArray& sprites)
{
    std::vector<float> out;
    for (const auto& s : sprites)
        out.push_back(s->z());
    return out;
}

std::ptrdiff_t positionOf(const SpriteArray& sprites, const std::shared_ptr<Sprite>& s)
{
    auto it = std::find(sprites.begin(), sprites.end(), s);
    return it == sprites.end() ? -1 : it - sprites.begin();
}

} // namespace

TEST(ExtendsSpriteArray, InsertsBeforeFirstEqualOrDeeper)
{
    struct Case {
        std::initializer_list<float> before;
        float depth;
        std::ptrdiff_t position;
    };
    const Case cases[] = {
        { {}, 0.5f, 0 },
        { { 0.5f }, 0.3f, 0 },
        { { 0.5f }, 0.7f, 1 },
        { { 0.5f }, 0.5f, 0 },
        { { 0.2f, 0.5f, 0.5f, 0.8f }, 0.5f, 1 },
        { { 0.2f, 0.5f, 0.8f }, 0.9f, 3 },
        { { 0.2f, 0.5f, 0.8f }, 0.1f, 0 },
    };
    for (const auto& c : cases) {
        SpriteArray sprites = list(c.before);
        auto s = at(c.depth);
        ExtendsSpriteArray::InsertSorted(sprites, s);
        EXPECT_EQ(positionOf(sprites, s), c.position) << "depth " << c.depth;
        EXPECT_TRUE(std::is_sorted(
            sprites.begin(), sprites.end(), [](const auto& a, const auto& b) { return a->z() < b->z(); }));
    }
}

TEST(ExtendsSpriteArray, EqualDepthsLieInReverseOrderOfInsertion)
{
    SpriteArray sprites;
    auto first = at(0.4f), second = at(0.4f), third = at(0.4f);
    for (const auto& s : { first, second, third })
        ExtendsSpriteArray::InsertSorted(sprites, s);
    EXPECT_EQ(sprites, (SpriteArray { third, second, first }));
}

TEST(ExtendsSpriteArray, RemoveKeepsTheOthersInOrder)
{
    for (std::size_t victim = 0; victim < 4; ++victim) {
        SpriteArray sprites = list({ 0.1f, 0.2f, 0.3f, 0.4f });
        SpriteArray expected = sprites;
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(victim));
        ExtendsSpriteArray::Remove(sprites, sprites[victim]);
        EXPECT_EQ(sprites, expected);
    }
    SpriteArray one = list({ 0.5f });
    ExtendsSpriteArray::Remove(one, one[0]);
    EXPECT_TRUE(one.empty());
}

TEST(ExtendsSpriteArray, RemovingAStrangerOrInsertingNoneChangesNothing)
{
    SpriteArray sprites = list({ 0.1f, 0.5f });
    SpriteArray before = sprites;
    ExtendsSpriteArray::Remove(sprites, at(0.5f)); // equal depth, other object
    ExtendsSpriteArray::Remove(sprites, nullptr);
    EXPECT_EQ(sprites, before);
    EXPECT_THROW(ExtendsSpriteArray::InsertSorted(sprites, nullptr), platform::NilObjectException);
    EXPECT_EQ(sprites, before);
}

// A long random run of insertions and removals keeps the depths non-decreasing
// and every live sprite present exactly once.
TEST(ExtendsSpriteArray, PropertyOrderAndMembershipSurviveRandomOperations)
{
    std::mt19937 rng(12345);
    SpriteArray sprites;
    std::vector<std::shared_ptr<Sprite>> live;
    for (int step = 0; step < 20000; ++step) {
        bool insert = live.empty() || rng() % 3 != 0;
        if (insert) {
            // Depths k / 100, as the spawner writes them, so ties are common.
            auto s = at(static_cast<float>(rng() % 101) / 100.0f);
            ExtendsSpriteArray::InsertSorted(sprites, s);
            live.push_back(s);
        } else {
            std::size_t k = rng() % live.size();
            ExtendsSpriteArray::Remove(sprites, live[k]);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(k));
        }
        ASSERT_EQ(sprites.size(), live.size());
    }
    auto d = depths(sprites);
    EXPECT_TRUE(std::is_sorted(d.begin(), d.end()));
    for (const auto& s : live)
        EXPECT_EQ(std::count(sprites.begin(), sprites.end(), s), 1);
}
