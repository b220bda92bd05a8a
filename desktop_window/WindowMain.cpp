#include "desktop_window/WindowMain.h"

#include "desktop_window/ExtendsWindow.h"
#include "desktop_window/MainMenuBar.h"
#include "platform/FolderItem.h"
#include "platform/GL.h"
#include "platform/Label.h"
#include "platform/MemoryBlock.h"
#include "platform/OpenGLSurface.h"
#include "platform/Picture.h"
#include "platform/QuitMenuItem.h"
#include "platform/Random.h"
#include "platform/SpecialFolder.h"
#include "platform/Text.h"

#include <new>
#include <optional>

WindowMain::WindowMain(std::int64_t screen)
    : screen(screen)
{
    // The screen is known before the framework builds the window, so every
    // construction event already sees it.
    Constructor();
}

void WindowMain::Layout()
{
    SetMenuBar(MainMenuBar::Instance());
    SetWidth(926);
    SetHeight(648);
    SetMinimumWidth(64);
    SetMinimumHeight(64);
    SetMaximumWidth(32000);
    SetMaximumHeight(32000);
    SetType(TypePlainBox);
    SetTitle("Quillamere Live Desktop");
    SetHasCloseButton(false);
    SetHasMaximizeButton(false);
    SetHasMinimizeButton(false);
    SetHasFullScreenButton(false);
    SetResizeable(false);
    SetDefaultLocation(LocationMainScreen);
    SetVisible(true);
    SetHasBackgroundColor(false);
    SetBackgroundColor(0x00000000); // opaque black
    SetMenuBarVisible(true);
}

void WindowMain::CreateControls() { CreateControls0(); }

void WindowMain::CreateControls0()
{
    AddControl("TimerUpdate", std::make_shared<wrapper_TimerUpdate>(*this));
    {
        auto timer = ControlAs<platform::Timer>("TimerUpdate");
        timer->SetRunMode(platform::Timer::RunModeMultiple);
        timer->SetPeriod(35);
        timer->SetEnabled(true);
        ControlAs<platform::Timer>("TimerUpdate")->Action = [this](platform::Timer& t) { TimerUpdate_Action(t); };
    }

    AddControl("TimerUpdateFPS", std::make_shared<wrapper_TimerUpdateFPS>(*this));
    {
        auto timer = ControlAs<platform::Timer>("TimerUpdateFPS");
        timer->SetRunMode(platform::Timer::RunModeMultiple);
        timer->SetPeriod(500);
        timer->SetEnabled(true);
        ControlAs<platform::Timer>("TimerUpdateFPS")->Action = [this](platform::Timer& t) { TimerUpdateFPS_Action(t); };
    }

    AddControl("Surface", std::make_shared<platform::OpenGLSurface>(*this));
    {
        // Locked on all four sides, the surface always covers the whole window.
        auto surface = ControlAs<platform::OpenGLSurface>("Surface");
        surface->SetLeft(0);
        surface->SetTop(0);
        surface->SetWidth(926);
        surface->SetHeight(648);
        surface->SetLockLeft(true);
        surface->SetLockTop(true);
        surface->SetLockRight(true);
        surface->SetLockBottom(true);
        surface->SetVisible(true);
        surface->SetEnabled(true);
        surface->SetColorBits(24);
        surface->SetDepthBits(24);
        surface->SetDoubleBuffer(true);
        ControlAs<platform::OpenGLSurface>("Surface")->Render
            = [this](platform::OpenGLSurface& s) { return Surface_Render(s); };
    }

    AddControl("LabelDebug", std::make_shared<platform::Label>(*this));
    {
        // Hidden and disabled for the window's whole life.
        auto label = ControlAs<platform::Label>("LabelDebug");
        label->SetLeft(20);
        label->SetTop(42);
        label->SetWidth(389);
        label->SetHeight(20);
        label->SetLockLeft(true);
        label->SetLockTop(true);
        label->SetLockRight(false);
        label->SetLockBottom(false);
        label->SetEnabled(false);
        label->SetTextColor(0x00FFFFFF); // opaque white
        label->SetText("Untitled");
        label->SetVisible(false);
    }
}

std::shared_ptr<platform::Timer> WindowMain::TimerUpdate() const { return ControlAs<platform::Timer>("TimerUpdate"); }

std::shared_ptr<platform::Timer> WindowMain::TimerUpdateFPS() const
{
    return ControlAs<platform::Timer>("TimerUpdateFPS");
}

std::shared_ptr<platform::OpenGLSurface> WindowMain::Surface() const
{
    return ControlAs<platform::OpenGLSurface>("Surface");
}

std::shared_ptr<platform::Label> WindowMain::LabelDebug() const { return ControlAs<platform::Label>("LabelDebug"); }

std::shared_ptr<platform::MenuItem> WindowMain::FileMenu() const
{
    return MainMenuBar::ItemNamed(MenuBar(), "FileMenu");
}

std::shared_ptr<platform::MenuItem> WindowMain::CloseWindow() const
{
    return MainMenuBar::ItemNamed(MenuBar(), "CloseWindow");
}

std::shared_ptr<platform::MenuItem> WindowMain::ShowPreferences() const
{
    return MainMenuBar::ItemNamed(MenuBar(), "ShowPreferences");
}

std::shared_ptr<platform::QuitMenuItem> WindowMain::FileQuit() const { return MainMenuBar::QuitItem(MenuBar()); }

// --- placement and projection ---

void WindowMain::Event_Open()
{
    ExtendsWindow::setLevel(*this, ExtendsWindow::DesktopLevel);
    // A nudge of the width runs the resize handling as soon as the window opens.
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void WindowMain::Event_Resized() { resize(); }

void WindowMain::Event_Resizing() { resize(); }

void WindowMain::resize()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<double>(Width()), 0.0, static_cast<double>(Height()), -100.0, 100.0);
    // The renderer relies on an identity model-view matrix being current.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    factor = static_cast<float>(static_cast<double>(Width()) / 1000.0);
}

// --- ticks ---

void WindowMain::TimerUpdate_Action(platform::Timer&)
{
    // Removals wait until every sprite has moved, so the walk sees a steady list.
    SpriteArray removals;
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const auto& s = sprites[i];
        s->update(factor);
        double limit = -(100.0 * static_cast<double>(factor)) / 2;
        if (limit >= static_cast<double>(s->x))
            removals.push_back(s);
        else if (limit >= static_cast<double>(s->y))
            removals.push_back(s);
    }
    for (const auto& s : removals)
        ExtendsSpriteArray::Remove(sprites, s);
    counter = counter + 1;
    platform::deref(Surface(), "Surface").Invalidate(true);
}

void WindowMain::TimerUpdateFPS_Action(platform::Timer& timer)
{
    double period = static_cast<double>(timer.Period()) / 1000;
    fps = period > 0 ? static_cast<std::int64_t>(static_cast<double>(counter) / period) : 0;
    counter = 0;

    auto& random = platform::System::Random();
    if (random.InRange(0, 10) > 5)
        return;

    auto s = Sprite::getNew();
    double margin = 100.0 * static_cast<double>(factor);
    std::int64_t r = random.InRange(static_cast<std::int64_t>(margin), Width() + Height());
    if (r > Width()) {
        s->x = static_cast<float>(static_cast<double>(Width()) + margin / 2);
        // In a window lower than a tenth of its width this range is reversed;
        // the generator then draws between the two bounds as given.
        s->y = static_cast<float>(random.InRange(static_cast<std::int64_t>(margin / 2),
            static_cast<std::int64_t>(static_cast<double>(Height()) - margin / 2)));
    } else {
        s->x = static_cast<float>(random.InRange(static_cast<std::int64_t>(margin), Width()));
        s->y = static_cast<float>(static_cast<double>(Height()) + margin / 2);
    }
    s->z(static_cast<float>(static_cast<double>(random.InRange(0, 100)) / 100));
    ExtendsSpriteArray::InsertSorted(sprites, s);
}

// --- drawing ---

bool WindowMain::Surface_Render(platform::OpenGLSurface&)
{
    if (!inited)
        initialise();

    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    // Set after the clears: it governs the clears of the frames that follow.
    glClearColor(0, 0, 0, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);

    // Ascending depth: far sprites first, near ones over them.
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const Sprite& s = *sprites[i];
        auto frame = static_cast<std::size_t>(s.index);
        glBindTexture(GL_TEXTURE_2D, s.index >= 0 && frame < textureNames.size() ? textureNames[frame] : 0);
        glColor4f(s.colour, s.colour, s.colour, 1);
        glPushMatrix();
        glTranslatef(s.x, s.y, 0);
        float k = factor * s.size;
        glScalef(k, k, k);
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
    }
    return false;
}

// --- textures ---

namespace {

void clearGLErrors()
{
    // Each kind of error has one flag; the bound guards against a context
    // that keeps reporting its loss.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) { }
}

std::string glErrorName(GLenum error)
{
    switch (error) {
    case GL_INVALID_ENUM:
        return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE:
        return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION:
        return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW:
        return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW:
        return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY:
        return "GL_OUT_OF_MEMORY";
    default:
        return "OpenGL error " + platform::Text::Str(static_cast<std::int64_t>(error));
    }
}

} // namespace

void WindowMain::initialise()
{
    // Set first: a load that fails part-way is not tried again.
    inited = true;
    const std::string resources = platform::SpecialFolder::Resources().NativePath();
    const std::string toaster = "/toaster_*.png";
    for (std::int64_t n = 0; n <= 130; ++n)
        loadTextureFromPNGFile(resources + platform::Text::ReplaceAll(toaster, "*", platform::Text::Format(n, "0000")));
    const std::string police = "/police_*.png";
    for (std::int64_t n = 0; n <= 29; ++n)
        loadTextureFromPNGFile(resources + platform::Text::ReplaceAll(police, "*", platform::Text::Format(n, "0000")));
    loadTextureFromPNGFile(resources + "/toast.png");
    loadTextureFromPNGFile(resources + "/toast-burnt.png");
}

void WindowMain::loadTextureFromPNGFile(const std::string& path)
{
    // A picture the context cannot hold as a texture is refused before it is
    // decoded.
    GLint largestTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    std::string whyNot;
    auto picture
        = platform::Picture::Open(platform::FolderItem(path), largestTexture, "this driver's largest texture", whyNot);
    if (!picture)
        throw platform::IOException("cannot read the picture " + path + ": " + whyNot);
    auto surface = picture->RGBSurface();

    platform::MemoryBlock nameBuffer(4);
    glGenTextures(1, reinterpret_cast<GLuint*>(nameBuffer.Data()));
    auto name = static_cast<std::uint32_t>(nameBuffer.Int32Value(0));
    glBindTexture(GL_TEXTURE_2D, name);

    const std::int64_t w = picture->Width();
    const std::int64_t h = picture->Height();
    std::optional<platform::MemoryBlock> pixels;
    try {
        pixels.emplace(w * h * 4);
    } catch (const std::bad_alloc&) {
        // Said as the picture's own failures are, so that the line names
        // what went wrong and does not leave the picture looking damaged.
        throw platform::IOException("cannot read the picture " + path + ": out of memory");
    }
    // Rows top first, RGBA bytes; the framework's transparency becomes opacity.
    std::uint8_t* out = pixels->Data();
    for (std::int64_t y = 0; y < h; ++y) {
        for (std::int64_t x = 0; x < w; ++x) {
            std::uint32_t c = surface->Pixel(x, y);
            out[0] = static_cast<std::uint8_t>((c >> 16) & 255);
            out[1] = static_cast<std::uint8_t>((c >> 8) & 255);
            out[2] = static_cast<std::uint8_t>(c & 255);
            out[3] = static_cast<std::uint8_t>(255 - ((c >> 24) & 255));
            out += 4;
        }
    }
    // Errors flagged before belong to other calls; the upload's own are the
    // ones that matter. A failed upload (out of memory, most likely) would
    // otherwise leave a texture that draws nothing.
    clearGLErrors();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(w), static_cast<GLsizei>(h), 0, GL_RGBA,
        GL_UNSIGNED_BYTE, pixels->Data());
    if (const GLenum error = glGetError(); error != GL_NO_ERROR)
        throw platform::IOException("cannot upload the picture " + path + " as a texture: " + glErrorName(error));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    textureNames.push_back(name);
}
