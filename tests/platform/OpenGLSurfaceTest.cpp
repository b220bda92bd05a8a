#include "PlatformTestSupport.h"

#include "platform/GL.h"
#include "platform/OpenGLSurface.h"
#include "platform/Window.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace platform_test;

namespace {

using Matrix = std::array<GLdouble, 16>;

Matrix projection()
{
    Matrix m {};
    glGetDoublev(GL_PROJECTION_MATRIX, m.data());
    return m;
}

// A window filled with one surface, drawing a clear colour and one textured,
// alpha-blended quad in immediate mode, in the projection set on resize.
class DrawingWindow : public platform::Window {
public:
    DrawingWindow() { Constructor(); }
    void Layout() override
    {
        SetWidth(200);
        SetHeight(100);
        SetType(TypePlainBox);
        SetResizeable(false);
    }
    void CreateControls() override
    {
        auto surface = std::make_shared<platform::OpenGLSurface>(*this);
        AddControl("Surface", surface);
        surface->SetWidth(200);
        surface->SetHeight(100);
        surface->SetLockRight(true);
        surface->SetLockBottom(true);
        surface->SetColorBits(24);
        surface->SetDepthBits(24);
        surface->SetDoubleBuffer(true);
        surface->Render = [this](platform::OpenGLSurface& s) { return Surface_Render(s); };
    }
    void Event_Open() override
    {
        contextAtOpen = glGetString(GL_VERSION) != nullptr;
        SetWidth(Width() + 1);
        SetWidth(Width() - 1);
    }
    void Event_Resized() override
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, double(Width()), 0, double(Height()), -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        projectionAtResize = projection();
    }
    bool Surface_Render(platform::OpenGLSurface&)
    {
        ++frames;
        projectionAtRender = projection();
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        if (!texture) {
            // Left half opaque red, right half half-transparent blue.
            const GLubyte pixels[] = { 255, 0, 0, 255, 0, 0, 255, 128 };
            glGenTextures(1, &texture);
            glBindTexture(GL_TEXTURE_2D, texture);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_DEPTH_TEST);
        glBindTexture(GL_TEXTURE_2D, texture);
        glColor4f(1, 1, 1, 1);
        glPushMatrix();
        glTranslatef(100, 50, 0);
        glScalef(50, 25, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3i(-1, 1, 0);
        glTexCoord2f(0, 1);
        glVertex3i(-1, -1, 0);
        glTexCoord2f(1, 1);
        glVertex3i(1, -1, 0);
        glTexCoord2f(1, 0);
        glVertex3i(1, 1, 0);
        glEnd();
        glPopMatrix();
        glFinish();
        pixels.assign(std::size_t(viewport[2]) * std::size_t(viewport[3]) * 4, 0);
        glReadPixels(0, 0, viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return false;
    }
    // Pixel at (x, y) from the bottom-left corner.
    std::array<int, 3> At(int x, int y) const
    {
        const std::size_t i = (std::size_t(y) * std::size_t(viewport[2]) + std::size_t(x)) * 4;
        return { pixels[i], pixels[i + 1], pixels[i + 2] };
    }

    bool contextAtOpen = false;
    int frames = 0;
    GLuint texture = 0;
    Matrix projectionAtResize {}, projectionAtRender {};
    std::array<GLint, 4> viewport {};
    std::vector<GLubyte> pixels;
};

} // namespace

TEST(OpenGLSurface, DrawsATexturedBlendedQuadInTheProjectionSetOnResize)
{
    auto window = std::make_shared<DrawingWindow>();
    window->SetBounds({ 0, 0, 200, 100 });
    auto surface = window->ControlAs<platform::OpenGLSurface>("Surface");
    ASSERT_TRUE(WaitUntil([&] { return window->frames > 0; }));
    EXPECT_TRUE(window->contextAtOpen);

    surface->MakeCurrent();
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    GLint profile = 0;
    glGetIntegerv(0x9126 /* GL_CONTEXT_PROFILE_MASK */, &profile);
    EXPECT_EQ(profile & 0x1 /* core */, 0) << version;
    GLint depthBits = 0, redBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_RED_BITS, &redBits);
    EXPECT_GE(depthBits, 24);
    EXPECT_GE(redBits, 8);

    EXPECT_EQ(window->viewport, (std::array<GLint, 4> { 0, 0, 200, 100 }));
    EXPECT_EQ(window->projectionAtRender, window->projectionAtResize);
    EXPECT_NEAR(window->projectionAtRender[0], 2.0 / 200, 1e-7);
    EXPECT_NEAR(window->projectionAtRender[5], 2.0 / 100, 1e-7);

    EXPECT_EQ(window->At(10, 10), (std::array<int, 3> { 0, 255, 0 })); // clear colour
    EXPECT_EQ(window->At(70, 50), (std::array<int, 3> { 255, 0, 0 })); // opaque texel
    const auto blended = window->At(130, 50); // half blue over green
    EXPECT_EQ(blended[0], 0);
    EXPECT_NEAR(blended[1], 127, 2);
    EXPECT_NEAR(blended[2], 128, 2);

    // Each request for a repaint is followed by a Render.
    const int before = window->frames;
    surface->Invalidate(false);
    ASSERT_TRUE(WaitUntil([&] { return window->frames > before; }));

    // A later size change reaches the same context and viewport.
    window->SetBounds({ 0, 0, 300, 150 });
    const int resizedAt = window->frames;
    surface->Invalidate(true);
    ASSERT_TRUE(WaitUntil([&] { return window->frames > resizedAt && window->viewport[2] == 300; }));
    EXPECT_EQ(window->projectionAtRender, window->projectionAtResize);
    EXPECT_NEAR(window->projectionAtRender[0], 2.0 / 300, 1e-7);
    window->Close();
}

TEST(OpenGLSurface, TwoWindowsHaveContextsOfTheirOwn)
{
    auto first = std::make_shared<DrawingWindow>();
    auto second = std::make_shared<DrawingWindow>();
    second->SetBounds({ 300, 0, 400, 300 });
    ASSERT_TRUE(WaitUntil([&] { return first->frames > 0 && second->frames > 0; }));
    EXPECT_NEAR(first->projectionAtRender[0], 2.0 / 200, 1e-7);
    EXPECT_NEAR(second->projectionAtRender[0], 2.0 / 400, 1e-7);
    first->Close();
    second->Close();
}
