#pragma once

#include "platform/Application.h"

#include <cstdint>
#include <memory>
#include <vector>

class WindowMain;
class WindowPreferences;

// The program's application object: opens one animation window per screen
// when the application opens, and holds the open animation windows and the
// open preferences window.
//
// Start-up registers the one instance with the framework; everything else
// reaches it through App::Instance(), the global accessor. (C++ does not let
// a free function App() share the class's name.)
class App : public platform::Application {
public:
    App() = default;
    // Releases the preferences window first, then the animation windows.
    ~App() override;

    // The registered application object, or none before registration.
    // Raises IllegalCastException if the registered object is not an App.
    static std::shared_ptr<App> Instance();

    // The open preferences window, or none.
    std::shared_ptr<WindowPreferences> prefsWindow;
    // The open animation windows, in the order they were opened.
    std::vector<std::shared_ptr<WindowMain>> windows;

    // Opens one animation window per screen, each over its screen's full frame.
    void Event_Open() override;
    // Shows the open preferences window, or builds one. Always true.
    virtual bool ShowPreferences_Action();
    // The first window of the registered App's windows that covers screen, or none.
    virtual std::shared_ptr<WindowMain> existsFor(std::int64_t screen);

    // A new animation window for screen, over that screen's full frame (not
    // the available area: the window lies beneath everything). The caller
    // appends it to windows.
    static std::shared_ptr<WindowMain> NewWindowFor(std::int64_t screen);

protected:
    // The number of screens now, read afresh on every pass of Event_Open.
    // Tests override it to script a count that the display cannot produce
    // (no screen at all, or one that changes while the windows are opened).
    virtual std::int64_t ScreenCount() const;
};
