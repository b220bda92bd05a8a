#include "ScriptedRandom.h"
#include "sprites/SpriteBurnedToast.h"
#include "sprites/SpriteCoaster.h"
#include "sprites/SpriteFlapper.h"
#include "sprites/SpritePolice.h"
#include "sprites/SpriteToast.h"

#include <map>
#include <typeindex>

using SpriteKinds = ScriptedRandom;

TEST_F(SpriteKinds, GetNewChoosesKindThenFirstFrame)
{
    struct Case {
        std::vector<std::int64_t> draws;
        std::type_index kind;
        std::int64_t index;
    };
    const Case cases[] = {
        { { 0, 100 }, typeid(SpriteCoaster), 100 },
        { { 1, 131 }, typeid(SpritePolice), 131 },
        { { 2 }, typeid(SpriteToast), 161 },
        { { 3 }, typeid(SpriteBurnedToast), 162 },
        { { 4, 0 }, typeid(SpriteFlapper), 0 },
        { { 5, 63 }, typeid(SpriteFlapper), 63 },
        { { 6, 7 }, typeid(SpriteFlapper), 7 },
        { { 7, 1 }, typeid(SpriteFlapper), 1 },
    };
    for (const auto& c : cases) {
        script(c.draws);
        auto sprite = Sprite::getNew();
        ASSERT_TRUE(sprite);
        const Sprite& made = *sprite;
        EXPECT_EQ(std::type_index(typeid(made)), c.kind) << "first draw " << c.draws[0];
        EXPECT_EQ(sprite->index, c.index);
        EXPECT_EQ(sprite->x, 0.0f);
        EXPECT_EQ(sprite->z(), 0.0f);
        EXPECT_EQ(remaining(), 0u) << "draws made for " << c.draws[0];
    }
    // The kind's draw comes first, then the first frame within the kind's range.
    script({ 0, 5 });
    Sprite::getNew();
    const auto& calls = platform::System::Random().ScriptedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(std::int64_t { 0 }, std::int64_t { 7 }));
    EXPECT_EQ(calls[1], std::make_pair(std::int64_t { 0 }, std::int64_t { 130 }));
    script({ 1, 131 });
    Sprite::getNew();
    EXPECT_EQ(calls[1], std::make_pair(std::int64_t { 131 }, std::int64_t { 160 }));
    script({ 4, 0 });
    Sprite::getNew();
    EXPECT_EQ(calls[1], std::make_pair(std::int64_t { 0 }, std::int64_t { 63 }));
}

TEST_F(SpriteKinds, EveryCallReturnsANewObject)
{
    script({ 2, 2 });
    EXPECT_NE(Sprite::getNew(), Sprite::getNew());
}

TEST_F(SpriteKinds, FrameLoopsWrapOnlyPastTheirLastFrame)
{
    script({ 62, 159 });
    SpriteFlapper flapper;
    SpritePolice police;
    flapper.update(1.0f);
    police.update(1.0f);
    EXPECT_EQ(flapper.index, 63);
    EXPECT_EQ(police.index, 160);
    flapper.update(1.0f);
    police.update(1.0f);
    EXPECT_EQ(flapper.index, 0);
    EXPECT_EQ(police.index, 131);

    SpriteToast toast;
    SpriteBurnedToast burnt;
    for (int i = 0; i < 500; ++i) {
        toast.update(1.0f);
        burnt.update(1.0f);
    }
    EXPECT_EQ(toast.index, 161);
    EXPECT_EQ(burnt.index, 162);
}

TEST_F(SpriteKinds, FastAndBaseMotionAtSpeedOne)
{
    script({ 10, 140, 5 });
    std::shared_ptr<Sprite> sprites[] = { std::make_shared<SpriteFlapper>(), std::make_shared<SpritePolice>(),
        std::make_shared<SpriteCoaster>(), std::make_shared<SpriteToast>(), std::make_shared<SpriteBurnedToast>() };
    const float expectedDx[] = { 2.5f, 5.0f, 2.5f, 2.5f, 5.0f };
    const float expectedDy[] = { 1.0f, 2.0f, 1.0f, 1.0f, 2.0f };
    for (std::size_t i = 0; i < std::size(sprites); ++i) {
        auto& s = *sprites[i];
        s.z(1.0f);
        s.x = 100;
        s.y = 100;
        s.update(1.0f);
        EXPECT_EQ(s.x, 100.0f - expectedDx[i]) << typeid(s).name();
        EXPECT_EQ(s.y, 100.0f - expectedDy[i]) << typeid(s).name();
    }
}

TEST_F(SpriteKinds, ZeroFactorStopsMotionButNotFrames)
{
    script({ 10, 140, 5 });
    SpriteFlapper flapper;
    SpritePolice police;
    SpriteCoaster coaster;
    for (Sprite* s : std::initializer_list<Sprite*> { &flapper, &police, &coaster }) {
        s->z(0.5f);
        s->x = 10;
        s->y = 20;
        s->update(0.0f);
        EXPECT_EQ(s->x, 10.0f);
        EXPECT_EQ(s->y, 20.0f);
    }
    EXPECT_EQ(flapper.index, 11);
    EXPECT_EQ(police.index, 141);
    EXPECT_EQ(coaster.index, 6);
}

// A correctness check of the uniform choice, with wide tolerances.
TEST(SpriteKindsStatistics, KindDistribution)
{
    std::map<std::type_index, int> counts;
    constexpr int draws = 40000;
    for (int i = 0; i < draws; ++i) {
        auto s = Sprite::getNew();
        ASSERT_GE(s->index, 0);
        ASSERT_LE(s->index, 162);
        const Sprite& made = *s;
        ++counts[typeid(made)];
    }
    EXPECT_NEAR(counts[typeid(SpriteFlapper)], draws / 2, draws / 40);
    for (std::type_index kind : { std::type_index(typeid(SpriteCoaster)), std::type_index(typeid(SpritePolice)),
             std::type_index(typeid(SpriteToast)), std::type_index(typeid(SpriteBurnedToast)) })
        EXPECT_NEAR(counts[kind], draws / 8, draws / 40) << kind.name();
}
