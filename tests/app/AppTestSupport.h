#pragma once

// Helpers of the application shell's tests: the real event loop, the
// registered App and the output of child processes. The X tools, and the
// probes, are run through tests/support/XTools.h.

#include "app/App.h"
#include "app/WindowPreferences.h"
#include "desktop_window/WindowMain.h"
#include "platform/Runtime.h"
#include "platform/Screen.h"
#include "tests/support/EventLoop.h"
#include "tests/support/NativeWidget.h"
#include "tests/support/XTools.h"

#include <QCoreApplication>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace app_test {

// Whether a window has opened and is shown (it is shown after its Open event).
inline bool IsOpen(const platform::Window& window)
{
    QWidget* top = quill_test::TopLevel(window);
    return top && !window.IsClosed() && top->isVisible();
}

// The environment variable name as an integer, or fallback when unset.
inline long EnvNumber(const char* name, long fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

inline bool SameRect(const platform::Rect& r, const platform::Screen& s)
{
    return r.Left == s.Left() && r.Top == s.Top() && r.Width == s.Width() && r.Height == s.Height();
}

// A fresh App registered as the application object for each test; the
// windows a test leaves open are closed at its end.
class RegisteredApp : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = MakeApp();
        platform::RuntimeRegisterAppObject(app);
    }
    void TearDown() override
    {
        if (app->prefsWindow)
            app->prefsWindow->Close();
        for (auto& window : app->windows)
            window->Close();
        app->windows.clear();
        // The closed windows' deferred deletions run before the next test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    virtual std::shared_ptr<App> MakeApp() { return std::make_shared<App>(); }

    // Raises the App's Open event and waits until its windows have opened.
    void OpenApp()
    {
        app->Event_Open();
        ASSERT_TRUE(quill_test::WaitUntil([&] {
            for (auto& w : app->windows)
                if (!IsOpen(*w))
                    return false;
            return true;
        }));
    }

    // Chooses "Preferences…" as the menu would and waits for the window to open.
    std::shared_ptr<WindowPreferences> ShowPreferences()
    {
        EXPECT_TRUE(app->ShowPreferences_Action());
        auto prefs = app->prefsWindow;
        EXPECT_TRUE(prefs);
        if (prefs) {
            EXPECT_TRUE(quill_test::WaitUntil([&] { return IsOpen(*prefs); }));
        }
        return prefs;
    }

    std::shared_ptr<App> app;
};

// The number of CheckBoxScreen members of a preferences window.
inline std::int64_t BoxCount(const WindowPreferences& prefs)
{
    std::int64_t n = 0;
    for (std::size_t i = 0; i < prefs.ControlCount(); ++i)
        if (prefs.ControlAt(i)->Name() == "CheckBoxScreen")
            ++n;
    return n;
}

// --- child processes, run through xtools::runToEnd ---

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

// Sets the root window's work area, as a panel with a strut would through a
// window manager, and waits until the main screen's available area shows it.
inline bool SetWorkArea(long left, long top, long width, long height)
{
    const std::string area = std::to_string(left) + ", " + std::to_string(top) + ", " + std::to_string(width) + ", "
        + std::to_string(height);
    xtools::setRootProperty("_NET_WORKAREA", "32c", QString::fromStdString(area));
    return quill_test::WaitUntil([&] { return platform::Screen::ScreenAt(0).AvailableTop() == top; });
}

} // namespace app_test
