#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>
#include <memory>

using namespace e2e;
using namespace xtools;

namespace {

// A system tray: trayer along the bottom edge.
class Tray {
public:
    ~Tray() { kill(); }

    bool start() { return startTray(tool_); }
    void kill() { tool_.stop(); }

    // The centres of the program's icons embedded in the panel.
    std::vector<QPoint> icons() const
    {
        std::vector<QPoint> found;
        for (const QRect& icon : trayIcons(tool_, "quillamere"))
            found.push_back(icon.center());
        return found;
    }

    // Waits for the first icon to show, then says how many there are.
    std::size_t iconsOnceShown() const
    {
        std::vector<QPoint> shown;
        quill_test::WaitUntil([&] { return !(shown = icons()).empty(); });
        return shown.size();
    }

private:
    Tool tool_;
};

enum class TrayStarts { BeforeTheProgram, AfterTheProgram, AndRestarts };

class TrayIcon : public testing::TestWithParam<TrayStarts> { };

} // namespace

TEST_P(TrayIcon, ShowsOnceWheneverATrayRunsAndItsMenuQuits)
{
    auto tray = std::make_unique<Tray>();
    if (GetParam() != TrayStarts::AfterTheProgram) {
        ASSERT_TRUE(tray->start());
    }

    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == monitors().size(); }));

    if (GetParam() == TrayStarts::AfterTheProgram) {
        ASSERT_TRUE(tray->start());
    }
    if (GetParam() == TrayStarts::AndRestarts) {
        ASSERT_EQ(tray->iconsOnceShown(), 1u) << "before the tray restarted";
        tray->kill();
        tray = std::make_unique<Tray>();
        ASSERT_TRUE(tray->start());
    }
    ASSERT_EQ(tray->iconsOnceShown(), 1u);

    ASSERT_TRUE(chooseFromMenuAt(program, tray->icons().front(), FileItem::Quit));
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); })) << "the program did not quit";
    EXPECT_TRUE(program.exitedNormally());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.standardError().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Trays, TrayIcon,
    testing::Values(TrayStarts::BeforeTheProgram, TrayStarts::AfterTheProgram, TrayStarts::AndRestarts),
    [](const testing::TestParamInfo<TrayStarts>& info) {
        switch (info.param) {
        case TrayStarts::BeforeTheProgram:
            return std::string("BeforeTheProgram");
        case TrayStarts::AfterTheProgram:
            return std::string("AfterTheProgram");
        case TrayStarts::AndRestarts:
            return std::string("AndRestarts");
        }
        return std::string();
    });
