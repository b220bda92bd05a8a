// The preferences window when a monitor goes away under it: the box of the
// screen that left opens nothing and does not stay ticked, whether the
// pointer clicks it or code sets it, and the other boxes keep working.
#include "AppTestSupport.h"

#include "platform/CheckBox.h"
#include "tests/support/XTools.h"

#include <QCheckBox>
#include <QPoint>
#include <QString>

using app_test::RegisteredApp;

namespace {

// The second monitor as the test's registration makes it (scripts/with-x.sh
// names it quill1).
const char* const secondMonitor = "1920/508x1080/286+1920+0";

enum class RaisedBy { Code, Pointer };

class VanishedScreen : public RegisteredApp, public ::testing::WithParamInterface<RaisedBy> {
protected:
    void TearDown() override
    {
        RegisteredApp::TearDown();
        if (platform::Screen::ScreenCount() < 2) {
            xtools::setMonitor("quill1", secondMonitor);
            EXPECT_TRUE(quill_test::WaitUntil([] { return platform::Screen::ScreenCount() == 2; }));
        }
    }

    void RemoveSecondMonitor()
    {
        ASSERT_TRUE(xtools::deleteMonitor("quill1"));
        ASSERT_TRUE(quill_test::WaitUntil([] { return platform::Screen::ScreenCount() == 1; }));
    }

    // Toggles the box, by SetValue or by a click of the pointer on its
    // indicator, and returns once its Action has run.
    void Toggle(const WindowPreferences& prefs, platform::CheckBox& box)
    {
        QCheckBox* native = nullptr;
        QWidget* top = quill_test::TopLevel(prefs);
        for (auto* candidate : top->findChildren<QCheckBox*>())
            if (candidate->text() == QString::fromStdString(box.Caption()))
                native = candidate;
        ASSERT_TRUE(native) << box.Caption();

        if (GetParam() == RaisedBy::Code) {
            box.SetValue(!box.Value());
            return;
        }
        // Connected after the box's own handler, so it runs once the Action has.
        bool clicked = false;
        const auto connection = QObject::connect(native, &QCheckBox::clicked, [&] { clicked = true; });
        const QPoint at = native->mapToGlobal(QPoint(8, native->height() / 2));
        xtools::click(at);
        EXPECT_TRUE(quill_test::WaitUntil([&] { return clicked; })) << "the click did not reach " << box.Caption();
        QObject::disconnect(connection);
    }
};

} // namespace

TEST_P(VanishedScreen, ItsBoxOpensNothingAndIsClearedAgain)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 2);
    OpenApp();
    ASSERT_EQ(app->windows.size(), 2u);
    const auto w0 = app->windows[0];
    const auto w1 = app->windows[1];
    auto prefs = ShowPreferences();
    ASSERT_TRUE(prefs);
    auto main = prefs->CheckBoxScreen(0);
    auto display1 = prefs->CheckBoxScreen(1);
    ASSERT_TRUE(main && display1);
    ASSERT_TRUE(display1->Value());

    RemoveSecondMonitor();

    // Clearing the box still closes the window left from the screen that went.
    Toggle(*prefs, *display1);
    EXPECT_FALSE(display1->Value());
    EXPECT_TRUE(w1->IsClosed());
    ASSERT_EQ(app->windows, std::vector<std::shared_ptr<WindowMain>> { w0 });

    // Ticking it again opens nothing, so the box does not stay ticked; and
    // clearing it did not close the main screen's window on the way.
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        Toggle(*prefs, *display1);
        EXPECT_FALSE(display1->Value());
        EXPECT_EQ(app->windows, std::vector<std::shared_ptr<WindowMain>> { w0 });
        EXPECT_FALSE(w0->IsClosed());
        EXPECT_TRUE(main->Value());
    }

    // Nothing went to the framework's unhandled-exception path: the main
    // screen's box still closes and reopens its window.
    Toggle(*prefs, *main);
    EXPECT_TRUE(w0->IsClosed());
    EXPECT_TRUE(app->windows.empty());
    Toggle(*prefs, *main);
    ASSERT_EQ(app->windows.size(), 1u);
    EXPECT_EQ(app->windows[0]->screen, 0);
    EXPECT_TRUE(main->Value());
}

INSTANTIATE_TEST_SUITE_P(, VanishedScreen, ::testing::Values(RaisedBy::Code, RaisedBy::Pointer),
    [](const ::testing::TestParamInfo<RaisedBy>& info) { return info.param == RaisedBy::Code ? "Code" : "Pointer"; });
