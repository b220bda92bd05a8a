// A window whose content is one OpenGL surface over its whole area keeps no
// raster backing store for its top-level widget; a window with anything of
// its own to show keeps one. Both still show the right pixels on screen.
#include "PlatformTestSupport.h"

#include "platform/GL.h"
#include "platform/OpenGLSurface.h"
#include "platform/Window.h"

#include <QBackingStore>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace platform_test;

namespace {

// A plain box filled with a surface that clears to blue; with lockedToEdges
// false the surface keeps its first size when the window grows.
class SurfaceWindow : public platform::Window {
public:
    explicit SurfaceWindow(bool lockedToEdges)
        : locked(lockedToEdges)
    {
        Constructor();
    }
    void Layout() override
    {
        SetType(TypePlainBox);
        SetWidth(320);
        SetHeight(240);
        SetHasBackgroundColor(true);
        SetBackgroundColor(0x00FF0000); // red, wherever the surface does not cover
    }
    void CreateControls() override
    {
        auto surface = std::make_shared<platform::OpenGLSurface>(*this);
        AddControl("Surface", surface);
        surface->SetWidth(320);
        surface->SetHeight(240);
        surface->SetLockRight(locked);
        surface->SetLockBottom(locked);
        surface->Render = [this](platform::OpenGLSurface&) {
            glClearColor(0, 0, 1, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            ++frames;
            return true;
        };
    }
    bool locked;
    int frames = 0;
};

// Bytes of the process's shared mappings (the X shared-memory images a raster
// store is flushed through) of exactly one store's size for this window size.
std::size_t SharedMappingsOfSize(std::size_t bytes)
{
    QFile maps("/proc/self/maps");
    if (!maps.open(QIODevice::ReadOnly))
        return 0;
    const std::size_t page = 4096;
    const std::size_t rounded = (bytes + page - 1) / page * page;
    std::size_t count = 0;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2 || !fields[1].endsWith('s'))
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        const std::size_t size = range[1].toULongLong(nullptr, 16) - range[0].toULongLong(nullptr, 16);
        if (size == rounded)
            ++count;
    }
    return count;
}

// The screen's pixel at (x, y), as the X server shows it.
QRgb ScreenPixel(int x, int y)
{
    const QImage image = xtools::screenshot();
    return image.isNull() ? 0 : image.pixel(x, y) & 0xFFFFFF;
}

// Waits until the screen shows colour at (x, y): presentation is asynchronous.
bool ShowsAt(int x, int y, QRgb colour)
{
    return WaitUntil([&] { return ScreenPixel(x, y) == colour; });
}

constexpr QRgb blue = 0x0000FF, red = 0xFF0000;

} // namespace

TEST(RasterStore, AWindowFilledByASurfaceKeepsNoneAndDrawsAtEverySize)
{
    auto window = std::make_shared<SurfaceWindow>(true);
    window->SetBounds({ 0, 0, 640, 360 });
    ASSERT_TRUE(WaitUntil([&] { return window->frames > 0; }));
    ASSERT_TRUE(ShowsAt(630, 350, blue));
    QWidget* top = TopLevel(*window);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(!top->backingStore() || top->backingStore()->size().isEmpty());
    EXPECT_EQ(SharedMappingsOfSize(640 * 360 * 4), 0u);

    // Larger, the surface follows the window over all of it.
    window->SetBounds({ 0, 0, 800, 500 });
    auto surface = window->ControlAs<platform::OpenGLSurface>("Surface");
    const int before = window->frames;
    surface->Invalidate(true);
    ASSERT_TRUE(WaitUntil([&] { return window->frames > before; }));
    EXPECT_TRUE(ShowsAt(790, 490, blue));
    EXPECT_TRUE(!top->backingStore() || top->backingStore()->size().isEmpty());
    EXPECT_EQ(SharedMappingsOfSize(800 * 500 * 4), 0u);
    window->Close();
}

TEST(RasterStore, AWindowTheSurfaceNoLongerCoversPaintsTheRestThroughOne)
{
    auto window = std::make_shared<SurfaceWindow>(false);
    window->SetBounds({ 0, 0, 320, 240 });
    ASSERT_TRUE(WaitUntil([&] { return window->frames > 0; }));
    ASSERT_TRUE(ShowsAt(310, 230, blue));
    QWidget* top = TopLevel(*window);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(!top->backingStore() || top->backingStore()->size().isEmpty());

    // Grown past the surface, the window shows its background beside it.
    window->SetBounds({ 0, 0, 640, 360 });
    EXPECT_TRUE(ShowsAt(600, 340, red));
    EXPECT_TRUE(ShowsAt(310, 230, blue));
    ASSERT_NE(top->backingStore(), nullptr);
    EXPECT_EQ(top->backingStore()->size(), QSize(640, 360));
    window->Close();
}
