#include "WindowMainProbe.h"

#include "platform/Random.h"
#include "sprites/SpriteToast.h"

#include <gtest/gtest.h>

namespace {

using Draw = std::pair<std::int64_t, std::int64_t>;

// A window of a known size whose ticks the test drives by hand.
class Ticks : public testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_shared<WindowMain>(0);
        WindowMainProbe::stopTimers(*window);
        window->SetBounds({ 0, 0, 1000, 500 });
        ASSERT_TRUE(quill_test::WaitUntil([&] {
            return WindowMainProbe::factor(*window) != 0 && shownAt(*window, { 1000, 500 });
        }));
        ASSERT_EQ(WindowMainProbe::factor(*window), 1.0f);
    }
    void TearDown() override
    {
        platform::System::Random().Unscript();
        window->Close();
    }
    void updateTick() { window->TimerUpdate_Action(*WindowMainProbe::timerUpdate(*window)); }
    void spawnTick() { window->TimerUpdateFPS_Action(*WindowMainProbe::timerUpdateFPS(*window)); }
    SpriteArray& sprites() { return WindowMainProbe::sprites(*window); }
    static void script(std::vector<std::int64_t> draws) { platform::System::Random().Script(std::move(draws)); }
    static const std::vector<Draw>& draws() { return platform::System::Random().ScriptedCalls(); }

    // A sprite with speed 0 (no depth written), so update leaves it in place.
    std::shared_ptr<Sprite> still(float x, float y)
    {
        auto s = std::make_shared<SpriteToast>();
        s->x = x;
        s->y = y;
        sprites().push_back(s);
        return s;
    }

    std::shared_ptr<WindowMain> window;
};

} // namespace

TEST_F(Ticks, SpawnAtTheTopEdgeDrawsInOrder)
{
    script({ 5, 2, 1000, 100, 37 }); // gate, kind toast, edge r = Width, x, depth
    spawnTick();
    ASSERT_EQ(sprites().size(), 1u);
    const Sprite& s = *sprites()[0];
    EXPECT_EQ(s.index, 161);
    EXPECT_EQ(s.x, 100.0f);
    EXPECT_EQ(s.y, 550.0f); // Height + 50 x factor
    EXPECT_EQ(s.z(), 0.37f);
    EXPECT_EQ(draws(), (std::vector<Draw> { { 0, 10 }, { 0, 7 }, { 100, 1500 }, { 100, 1000 }, { 0, 100 } }));
}

TEST_F(Ticks, SpawnAtTheRightEdge)
{
    script({ 0, 4, 63, 1001, 450, 100 }); // gate, kind flapper, its frame, r = Width + 1, y, depth
    spawnTick();
    ASSERT_EQ(sprites().size(), 1u);
    const Sprite& s = *sprites()[0];
    EXPECT_EQ(s.index, 63);
    EXPECT_EQ(s.x, 1050.0f);
    EXPECT_EQ(s.y, 450.0f);
    EXPECT_EQ(s.z(), 1.0f);
    EXPECT_EQ(draws(), (std::vector<Draw> { { 0, 10 }, { 0, 7 }, { 0, 63 }, { 100, 1500 }, { 50, 450 }, { 0, 100 } }));
}

TEST_F(Ticks, GateAboveFiveSpawnsNothingButFpsIsMeasured)
{
    WindowMainProbe::counter(*window) = 14;
    script({ 6 });
    spawnTick();
    EXPECT_TRUE(sprites().empty());
    EXPECT_EQ(WindowMainProbe::fps(*window), 28);
    EXPECT_EQ(WindowMainProbe::counter(*window), 0);
    EXPECT_EQ(draws().size(), 1u);

    script({ 10, 7 });
    spawnTick();
    spawnTick();
    EXPECT_TRUE(sprites().empty());
    EXPECT_EQ(WindowMainProbe::fps(*window), 0);
}

TEST_F(Ticks, NewSpritesGoInDepthOrder)
{
    script({ 0, 2, 500, 200, 70, 0, 2, 500, 300, 30, 0, 2, 500, 400, 70 });
    spawnTick();
    spawnTick();
    spawnTick();
    ASSERT_EQ(sprites().size(), 3u);
    EXPECT_EQ(sprites()[0]->x, 300.0f); // depth 0.3
    EXPECT_EQ(sprites()[1]->x, 400.0f); // the later of the two at 0.7 lies beneath
    EXPECT_EQ(sprites()[2]->x, 200.0f);
}

TEST_F(Ticks, UpdateRemovesAtTheLimitExactly)
{
    auto atLeftLimit = still(-50.0f, 100.0f);
    auto insideLeft = still(-49.99f, 100.0f);
    auto belowBottom = still(500.0f, -50.0f);
    auto insideBottom = still(500.0f, -49.99f);
    auto pastLeftOnly = still(-60.0f, 300.0f);
    updateTick();
    EXPECT_EQ(sprites(), (SpriteArray { insideLeft, insideBottom }));
    EXPECT_EQ(WindowMainProbe::counter(*window), 1);
    (void)atLeftLimit, (void)belowBottom, (void)pastLeftOnly;
}

TEST_F(Ticks, UpdateMovesEverySpriteOnceAndCountsOnAnEmptyList)
{
    updateTick();
    updateTick();
    EXPECT_EQ(WindowMainProbe::counter(*window), 2);

    auto s = still(-49.0f, 100.0f);
    s->z(1.0f); // speed 1: this tick moves it 2.5 left, past the limit
    auto t = still(300.0f, 300.0f);
    t->z(1.0f);
    updateTick();
    EXPECT_EQ(sprites(), (SpriteArray { t }));
    EXPECT_EQ(s->x, -51.5f); // moved once, then removed
    EXPECT_EQ(t->x, 297.5f);
    EXPECT_EQ(t->y, 299.0f);
}

TEST_F(Ticks, UnsizedWindowSpawnsOnTheEdgeAndRemovesAtZero)
{
    WindowMainProbe::factor(*window) = 0.0f;
    script({ 3, 3, 1001, 0, 50 }); // gate, burnt toast at the right edge, y from 0 to Height
    spawnTick();
    ASSERT_EQ(sprites().size(), 1u);
    EXPECT_EQ(sprites()[0]->x, 1000.0f);
    EXPECT_EQ(sprites()[0]->y, 0.0f);
    EXPECT_EQ(draws()[2], (Draw { 0, 1500 }));
    EXPECT_EQ(draws()[3], (Draw { 0, 500 }));
    updateTick(); // limit 0: y = 0 is out
    EXPECT_TRUE(sprites().empty());
}

TEST_F(Ticks, LowWindowGivesARightEdgeYBetweenTheReversedBounds)
{
    window->SetBounds({ 0, 0, 1000, 64 }); // lower than a tenth of its width
    script({ 0, 2, 1060, 30, 0 });
    spawnTick();
    ASSERT_EQ(sprites().size(), 1u);
    EXPECT_EQ(draws()[3], (Draw { 14, 50 })); // 50 .. 64 - 50, taken the other way round
    EXPECT_EQ(sprites()[0]->y, 30.0f);
}
