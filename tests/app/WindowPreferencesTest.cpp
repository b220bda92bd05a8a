// The preferences window: its boxes, where it stands, what its boxes open and
// close, and how it is shown, closed and built again.
#include "AppTestSupport.h"

#include "app/CheckBoxScreen.h"
#include "desktop_window/MainMenuBar.h"
#include "platform/CheckBox.h"
#include "platform/Text.h"

using app_test::BoxCount;
using app_test::RegisteredApp;
using app_test::SameRect;

class Preferences : public RegisteredApp { };

// One monitor.
TEST_F(Preferences, OneScreenShowsTheMainScreenBoxTicked)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 1);
    OpenApp();
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);

    EXPECT_EQ(BoxCount(*prefs), 1);
    auto box = prefs->CheckBoxScreen(0);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Caption(), "Main Screen");
    EXPECT_TRUE(box->Value());
    EXPECT_EQ(prefs->Title(), "Quillamere Preferences");
    EXPECT_EQ(prefs->Width(), 424);
    EXPECT_EQ(prefs->Height(), 264);
    EXPECT_EQ(prefs->MenuBar(), MainMenuBar::Instance());
    EXPECT_EQ(app->windows.size(), 1u);
}

// Three monitors.
TEST_F(Preferences, ThreeScreensListEveryScreenAndTickThoseWithAWindow)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 3);
    auto w0 = std::make_shared<WindowMain>(0);
    auto w2 = std::make_shared<WindowMain>(2);
    app->windows = { w0, w2 };

    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);

    struct Row {
        const char* caption;
        bool ticked;
    };
    const Row rows[] = { { "Main Screen", true }, { "Display 1", false }, { "Display 2", true } };
    ASSERT_EQ(BoxCount(*prefs), 3);
    for (std::int64_t i = 0; i < 3; ++i) {
        auto box = std::dynamic_pointer_cast<CheckBoxScreen>(prefs->CheckBoxScreen(i));
        ASSERT_TRUE(box) << "box " << i;
        EXPECT_EQ(box->Index(), i);
        EXPECT_EQ(box->Name(), "CheckBoxScreen");
        EXPECT_EQ(box->Caption(), rows[i].caption);
        EXPECT_EQ(box->Value(), rows[i].ticked) << rows[i].caption;
        EXPECT_EQ(box->Left(), 20);
        EXPECT_EQ(box->Top(), 20 + 40 * i);
        EXPECT_EQ(box->Width(), 384);
        EXPECT_EQ(box->Height(), 20);
    }
    // Ticking the boxes while the window opened neither opened nor closed a window.
    ASSERT_EQ(app->windows.size(), 2u);
    EXPECT_EQ(app->windows[0], w0);
    EXPECT_EQ(app->windows[1], w2);
    EXPECT_FALSE(w0->IsClosed());
    EXPECT_FALSE(w2->IsClosed());
}

// Three monitors.
TEST_F(Preferences, BoxesCloseAndReopenTheirScreensWindow)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 3);
    OpenApp();
    const auto opened = app->windows;
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);
    auto main = prefs->CheckBoxScreen(0);

    main->SetValue(false);
    EXPECT_TRUE(opened[0]->IsClosed());
    ASSERT_EQ(app->windows.size(), 2u);
    EXPECT_EQ(app->windows[0], opened[1]);
    EXPECT_EQ(app->windows[1], opened[2]);
    EXPECT_EQ(app->existsFor(0), nullptr);

    main->SetValue(true);
    ASSERT_EQ(app->windows.size(), 3u);
    auto reopened = app->windows[2];
    EXPECT_NE(reopened, opened[0]);
    EXPECT_EQ(reopened->screen, 0);
    EXPECT_TRUE(SameRect(reopened->Bounds(), platform::Screen::ScreenAt(0)));
    EXPECT_TRUE(quill_test::WaitUntil([&] { return app_test::IsOpen(*reopened); }));
    EXPECT_TRUE(SameRect(reopened->Bounds(), platform::Screen::ScreenAt(0)));

    // Ticking a box whose screen has a window, or clearing one whose screen
    // has none, changes nothing.
    auto box2 = prefs->CheckBoxScreen(2);
    box2->SetValue(false);
    EXPECT_TRUE(opened[2]->IsClosed());
    auto extra = std::make_shared<WindowMain>(2);
    app->windows.push_back(extra);
    box2->SetValue(true);
    ASSERT_EQ(app->windows.size(), 3u);
    EXPECT_EQ(app->windows.back(), extra);
    app->windows.pop_back();
    extra->Close();
    box2->SetValue(false);
    EXPECT_EQ(app->windows.size(), 2u);
}

// One monitor.
TEST_F(Preferences, PreferencesWhileOpenShowsTheSameWindow)
{
    OpenApp();
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);
    auto box = prefs->CheckBoxScreen(0);
    const std::size_t controls = prefs->ControlCount();
    // Its tick stays as it was though the window behind it went.
    app->windows.front()->Close();
    app->windows.clear();

    EXPECT_TRUE(app->ShowPreferences_Action());
    EXPECT_EQ(app->prefsWindow, prefs);
    EXPECT_EQ(prefs->ControlCount(), controls);
    EXPECT_EQ(prefs->CheckBoxScreen(0), box);
    EXPECT_TRUE(box->Value());
}

// One monitor. The close button and Cmd+W both end the window; the next one is
// built afresh with the ticks as they stand.
TEST_F(Preferences, ClosingClearsPrefsWindowAndTheNextIsRebuilt)
{
    OpenApp();
    struct Way {
        const char* name;
        std::function<void(WindowPreferences&)> close;
    };
    const Way ways[] = {
        { "close button", [](WindowPreferences& w) { w.Close(); } },
        { "Close menu item",
            [](WindowPreferences& w) {
                auto handler = w.MenuHandler("CloseWindow");
                ASSERT_TRUE(handler);
                EXPECT_TRUE(handler());
            } },
    };
    bool tick = true;
    for (const Way& way : ways) {
        auto prefs = ShowPreferences();
        ASSERT_TRUE(prefs);
        EXPECT_EQ(prefs->CheckBoxScreen(0)->Value(), tick) << way.name;
        // Change the tick, so the next window has to read it anew.
        prefs->CheckBoxScreen(0)->SetValue(!tick);
        tick = !tick;

        std::weak_ptr<WindowPreferences> weak = prefs;
        way.close(*prefs);
        prefs.reset();
        EXPECT_EQ(app->prefsWindow, nullptr) << way.name;
        EXPECT_TRUE(weak.expired()) << way.name << ": nothing holds a closed preferences window";
    }
    auto next = ShowPreferences();
    ASSERT_TRUE(next);
    EXPECT_EQ(BoxCount(*next), 1);
    EXPECT_EQ(next->CheckBoxScreen(0)->Value(), tick);
    EXPECT_EQ(app->windows.size(), tick ? 1u : 0u);
}

// Run under several main screens; the expected place comes with the layout
// (QUILL_WORKAREA, QUILL_EXPECT_LEFT, QUILL_EXPECT_TOP).
TEST_F(Preferences, StandsCentredBelowTheTopOfTheMainScreensFreeArea)
{
    if (const char* area = std::getenv("QUILL_WORKAREA")) {
        long l = 0, t = 0, w = 0, h = 0;
        ASSERT_EQ(std::sscanf(area, "%ld,%ld,%ld,%ld", &l, &t, &w, &h), 4);
        ASSERT_TRUE(app_test::SetWorkArea(l, t, w, h));
    }
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);
    EXPECT_EQ(prefs->Left(), app_test::EnvNumber("QUILL_EXPECT_LEFT", -12345));
    EXPECT_EQ(prefs->Top(), app_test::EnvNumber("QUILL_EXPECT_TOP", -12345));
    EXPECT_EQ(prefs->Width(), 424);
    EXPECT_EQ(prefs->Height(), 264);
}

// Seven monitors: the window keeps its height; the seventh box is cut off at
// the bottom edge and the rows go on below it.
TEST_F(Preferences, SevenScreensKeepTheHeight)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 7);
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);
    ASSERT_EQ(BoxCount(*prefs), 7);
    EXPECT_EQ(prefs->Height(), 264);
    for (std::int64_t i = 1; i < 7; ++i) {
        auto box = prefs->CheckBoxScreen(i);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->Caption(), "Display " + platform::Text::Str(i));
        EXPECT_EQ(box->Top(), 20 + 40 * i);
    }
    EXPECT_EQ(prefs->CheckBoxScreen(6)->Top(), 260);
}

// Two monitors; the second goes away while the window is open.
TEST_F(Preferences, ABoxWhoseScreenWentAwayOpensNothing)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 2);
    auto w0 = std::make_shared<WindowMain>(0);
    app->windows = { w0 };
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);
    auto display1 = prefs->CheckBoxScreen(1);
    ASSERT_TRUE(display1);

    ASSERT_TRUE(xtools::deleteMonitor("quill1"));
    ASSERT_TRUE(quill_test::WaitUntil([] { return platform::Screen::ScreenCount() == 1; }));

    display1->SetValue(true);
    EXPECT_EQ(app->windows.size(), 1u);
    EXPECT_EQ(app->windows[0], w0);
    // No error went to the framework: the boxes still work.
    prefs->CheckBoxScreen(0)->SetValue(false);
    EXPECT_TRUE(app->windows.empty());
    EXPECT_TRUE(w0->IsClosed());
}

class ScreenCheckBoxes : public RegisteredApp { };

// A window of another class for a run-time box.
class PlainWindow : public platform::Window {
public:
    PlainWindow() { Constructor(); }
};

TEST_F(ScreenCheckBoxes, RunTimeMembersNeedAPreferencesWindow)
{
    auto window = std::make_shared<PlainWindow>();
    EXPECT_THROW(CheckBoxScreen::Create(*window), platform::IllegalCastException);
    EXPECT_EQ(window->ControlCount(), 0u) << "a failed box is not registered";
}

TEST_F(ScreenCheckBoxes, RunTimeMembersTakeTheNextIndexWithTheDesignValues)
{
    auto prefs = ShowPreferences(); // one screen: member 0 only
    ASSERT_TRUE(prefs);
    ASSERT_EQ(BoxCount(*prefs), 1);
    for (std::int64_t k = 1; k <= 3; ++k) {
        auto box = CheckBoxScreen::Create(*prefs);
        EXPECT_EQ(box->Index(), k);
        EXPECT_EQ(prefs->CheckBoxScreen(k), box);
        EXPECT_EQ(box->Name(), "CheckBoxScreen");
        EXPECT_EQ(box->Caption(), "Untitled");
        EXPECT_EQ(box->Left(), 20);
        EXPECT_EQ(box->Top(), 20);
        EXPECT_EQ(box->Width(), 384);
        EXPECT_EQ(box->Height(), 20);
        EXPECT_FALSE(box->Value());
        EXPECT_TRUE(box->Enabled());
        EXPECT_TRUE(box->Visible());
    }
    EXPECT_EQ(prefs->CheckBoxScreen(0)->Index(), 0);
    // A run-time member's Action reaches its window: clearing box 3 closes
    // the window of screen 3.
    auto w3 = std::make_shared<WindowMain>(3);
    app->windows.push_back(w3);
    auto box3 = prefs->CheckBoxScreen(3);
    box3->SetValue(true); // screen 3 has its window: nothing to open
    box3->SetValue(false);
    EXPECT_TRUE(w3->IsClosed());
    EXPECT_EQ(app->existsFor(3), nullptr);
}
