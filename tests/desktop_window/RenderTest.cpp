#include "Fixtures.h"
#include "WindowMainProbe.h"

#include "platform/GL.h"
#include "sprites/SpriteToast.h"

#include <QGuiApplication>
#include <QScreen>

#include <array>
#include <gtest/gtest.h>

namespace {

// A 1000 x 500 window (factor 1) with two fixture textures, red for frame 0
// and green for frame 1, and the ticks stopped.
class Render : public testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_shared<WindowMain>(0);
        WindowMainProbe::stopTimers(*window);
        WindowMainProbe::inited(*window) = true;
        auto surface = WindowMainProbe::surface(*window);
        surface->Render = [this](platform::OpenGLSurface& s) {
            lastResult = window->Surface_Render(s);
            ++renders;
            return lastResult;
        };
        window->SetBounds({ 0, 0, 1000, 500 });
        // Past the opening's resizes and its first frame.
        ASSERT_TRUE(quill_test::WaitUntil([&] {
            return WindowMainProbe::factor(*window) == 1.0f && shownAt(*window, { 1000, 500 }) && renders > 0;
        }));
        surface->MakeCurrent();
        WindowMainProbe::loadTextureFromPNGFile(*window, fixtures.solid("red.png", qRgba(255, 0, 0, 255)));
        WindowMainProbe::loadTextureFromPNGFile(*window, fixtures.solid("green.png", qRgba(0, 255, 0, 255)));
    }
    void TearDown() override { window->Close(); }

    void add(std::int64_t frame, float x, float y, float z)
    {
        auto s = std::make_shared<SpriteToast>();
        s->index = frame;
        s->x = x;
        s->y = y;
        s->z(z);
        ExtendsSpriteArray::InsertSorted(WindowMainProbe::sprites(*window), s);
    }

    // Has the surface draw one frame for real and grabs what the window shows.
    bool frame()
    {
        auto surface = WindowMainProbe::surface(*window);
        int before = renders;
        surface->Invalidate(true);
        EXPECT_TRUE(quill_test::WaitUntil([&] { return renders > before; })) << "no Render";
        // The frame was swapped before Render's count was seen, and the grab
        // goes to the X server on the same connection as the swap's image,
        // so the server shows the frame to the grab.
        shot = QGuiApplication::primaryScreen()->grabWindow(xWindowOf(*window)).toImage();
        return lastResult;
    }

    // The colour at window coordinates (x, y), origin bottom-left.
    std::array<int, 4> pixel(int x, int y) const
    {
        QColor c = shot.pixelColor(x, shot.height() - 1 - y);
        return { c.red(), c.green(), c.blue(), c.alpha() };
    }

    static void expectRgb(std::array<int, 4> got, std::array<int, 3> want, const char* where)
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[static_cast<std::size_t>(i)], want[static_cast<std::size_t>(i)], 2)
                << where << " channel " << i;
    }

    std::shared_ptr<WindowMain> window;
    PictureFixtures fixtures;
    int renders = 0;
    bool lastResult = true;
    QImage shot;
};

} // namespace

TEST_F(Render, NearerSpriteCoversFartherAtItsSizeAndTint)
{
    add(1, 330, 250, 1.0f); // green, full brightness, half-side 50: x 280..380
    add(0, 300, 250, 0.5f); // red at tint 0.7, half-side 35: x 265..335, y 215..285
    EXPECT_FALSE(frame());
    expectRgb(pixel(270, 250), { 178, 0, 0 }, "red only");
    expectRgb(pixel(320, 250), { 0, 255, 0 }, "overlap: the nearer green");
    expectRgb(pixel(375, 250), { 0, 255, 0 }, "green only");
    expectRgb(pixel(262, 250), { 0, 0, 0 }, "left of the red square");
    expectRgb(pixel(270, 283), { 178, 0, 0 }, "inside the red square's top");
    expectRgb(pixel(270, 288), { 0, 0, 0 }, "above the red square");
    expectRgb(pixel(383, 250), { 0, 0, 0 }, "right of the green square");

    EXPECT_FALSE(frame()); // from the second frame on the clear is opaque black
    expectRgb(pixel(600, 400), { 0, 0, 0 }, "background");
}

TEST_F(Render, EqualDepthDrawsTheOlderOnTop)
{
    add(0, 500, 250, 0.6f); // red first
    add(1, 500, 250, 0.6f); // green, inserted later, lies beneath
    frame();
    expectRgb(pixel(500, 250), { static_cast<int>(0.76f * 255), 0, 0 }, "older sprite on top");
}

TEST_F(Render, UnsizedWindowDrawsNothingButStillClears)
{
    add(0, 500, 250, 1.0f);
    WindowMainProbe::factor(*window) = 0.0f;
    frame();
    frame();
    expectRgb(pixel(500, 250), { 0, 0, 0 }, "zero-sized square");
    WindowMainProbe::surface(*window)->MakeCurrent();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}
