#pragma once

#include "platform/Timer.h"
#include "platform/Window.h"
#include "sprites/ExtendsSpriteArray.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Label;
class MenuItem;
class OpenGLSurface;
class QuitMenuItem;
}

// The animation window of one screen: a borderless window at the desktop
// level, filled by one OpenGL surface, with the screen's sprites and two
// repeating timers, the 35 ms update tick and the 500 ms spawn tick.
//
// Create it with its screen index through std::make_shared, then set its
// bounds to that screen's full frame.
class WindowMain : public platform::Window {
public:
    // The two timer controls: timers that live among the window's controls and
    // refer back to it only weakly.
    class wrapper_TimerUpdate : public platform::Timer {
    public:
        using platform::Timer::Timer;
    };
    class wrapper_TimerUpdateFPS : public platform::Timer {
    public:
        using platform::Timer::Timer;
    };

    explicit WindowMain(std::int64_t screen);

    // The screen index this window covers (0 is the main screen).
    std::int64_t screen = 0;

    void Layout() override;
    void CreateControls() override;
    virtual void CreateControls0();
    // The update tick: moves every sprite, drops those that have left, repaints.
    virtual void TimerUpdate_Action(platform::Timer& timer);
    // The spawn tick: measures the tick rate and may add one sprite at an edge.
    virtual void TimerUpdateFPS_Action(platform::Timer& timer);
    // Draws one frame; loads the textures on the window's first frame.
    virtual bool Surface_Render(platform::OpenGLSurface& surface);
    virtual std::shared_ptr<platform::MenuItem> FileMenu() const;
    virtual std::shared_ptr<platform::MenuItem> CloseWindow() const;
    virtual std::shared_ptr<platform::MenuItem> ShowPreferences() const;
    virtual std::shared_ptr<platform::QuitMenuItem> FileQuit() const;
    void Event_Open() override;
    void Event_Resized() override;
    void Event_Resizing() override;

private:
    friend struct WindowMainProbe; // tests and benchmarks look inside

    std::shared_ptr<platform::Timer> TimerUpdate() const;
    std::shared_ptr<platform::Timer> TimerUpdateFPS() const;
    std::shared_ptr<platform::OpenGLSurface> Surface() const;
    std::shared_ptr<platform::Label> LabelDebug() const;

    // Sets the projection and factor from the window's size.
    void resize();
    // Loads the 163 pictures into the surface's context, in frame order.
    void initialise();
    void loadTextureFromPNGFile(const std::string& path);

    SpriteArray sprites;
    bool inited = false;
    std::int64_t fps = 0;
    float factor = 0.0f;
    std::int64_t counter = 0;
    // The texture name created for each frame index, in load order.
    std::vector<std::uint32_t> textureNames;
};
