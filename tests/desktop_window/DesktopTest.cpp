#include "WindowMainProbe.h"

#include "platform/Screen.h"
#include "sprites/SpriteBurnedToast.h"
#include "sprites/SpriteToast.h"

#include "tests/support/XTools.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Pixels, on every other row and column, in the golden and brown tones of
// the toast.
int toastColoured(const QImage& shot)
{
    int count = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) {
            QColor c = shot.pixelColor(x, y);
            if (c.red() > 60 && c.red() > c.blue() + 20)
                ++count;
        }
    return count;
}

} // namespace

// Under openbox: a window made for the screen and set to its full frame is a
// desktop window beneath an ordinary one, and it shows our pictures.
TEST(Desktop, LiesBeneathOrdinaryWindowsAndShowsTheArtwork)
{
    auto screen = platform::Screen::ScreenAt(0);
    auto w = std::make_shared<WindowMain>(0);
    w->SetBounds({ 0, 0, static_cast<double>(screen.Width()), static_cast<double>(screen.Height()) });
    ASSERT_TRUE(quill_test::WaitUntil([&] { return WindowMainProbe::textureNames(*w).size() == 163; }));
    // Sprites in view at once, besides those the spawn tick brings in.
    for (int i = 0; i < 4; ++i) {
        std::shared_ptr<Sprite> s = i % 2 ? std::shared_ptr<Sprite>(std::make_shared<SpriteToast>())
                                          : std::shared_ptr<Sprite>(std::make_shared<SpriteBurnedToast>());
        s->x = static_cast<float>(300 + 200 * i);
        s->y = static_cast<float>(300 + 50 * i);
        s->z(0.5f + 0.1f * static_cast<float>(i));
        ExtendsSpriteArray::InsertSorted(WindowMainProbe::sprites(*w), s);
    }
    unsigned long id = xWindowOf(*w);
    EXPECT_EQ(w->Width(), screen.Width());
    EXPECT_EQ(w->Height(), screen.Height());
    EXPECT_TRUE(xtools::property(id, "_NET_WM_WINDOW_TYPE").contains("_NET_WM_WINDOW_TYPE_DESKTOP"));

    xtools::Tool xlogo;
    const xtools::WindowId logo = xtools::startXlogo(xlogo, "200x200+100+100");
    ASSERT_NE(logo, 0u);
    ASSERT_TRUE(quill_test::WaitUntil([&] { return xtools::managed(logo) && xtools::managed(id); }));
    // Activating and raising the desktop window must not lift it. Nothing
    // comes of the raise, so the check follows a short settle.
    EXPECT_TRUE(xtools::activate(id));
    xtools::raise(id);
    quill_test::Spin(500);
    EXPECT_TRUE(xtools::stackedBelow(id, logo)) << "the desktop window is not beneath xlogo";
    xlogo.stop();

    // The screen shows the artwork once the window has drawn a few frames.
    QImage shot;
    EXPECT_TRUE(quill_test::WaitUntil([&] {
        shot = xtools::screenshot();
        return !shot.isNull() && toastColoured(shot) > 500;
    })) << "no artwork on screen: "
        << (shot.isNull() ? -1 : toastColoured(shot)) << " toast-coloured pixels";
    w->Close();
}
