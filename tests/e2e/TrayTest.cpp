#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

using namespace e2e;

namespace {

// A system tray: trayer along the bottom edge.
class Tray {
public:
    ~Tray() { kill(); }

    bool start()
    {
        process_.start("trayer", { "--edge", "bottom", "--widthtype", "pixel", "--width", "100", "--height", "24" });
        return process_.waitForStarted(10000)
            && waitUntil([&] { return !visibleWindows(process_.processId(), "^panel$").empty(); }, 10000);
    }

    void kill()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.kill();
        process_.waitForFinished(5000);
    }

    // The centres of the program's icons embedded in the panel, read from the window tree.
    std::vector<QPoint> icons() const
    {
        std::vector<QPoint> found;
        for (WindowId panel : visibleWindows(process_.processId(), "^panel$")) {
            const QString tree = run("xwininfo", { "-id", QString::number(panel), "-tree" });
            // 0x600006 "quillamere": ("quillamere" "quillamere")  22x22+0+0  +591+777
            static const QRegularExpression re(
                QStringLiteral("\"quillamere\"\\)\\s+(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)"));
            for (auto it = re.globalMatch(tree); it.hasNext();) {
                auto m = it.next();
                found.emplace_back(m.captured(3).toInt() + m.captured(1).toInt() / 2,
                    m.captured(4).toInt() + m.captured(2).toInt() / 2);
            }
        }
        return found;
    }

    // Waits for the first icon to show, then says how many there are.
    std::size_t iconsOnceShown() const
    {
        std::vector<QPoint> shown;
        waitUntil([&] { return !(shown = icons()).empty(); }, 10000);
        return shown.size();
    }

private:
    QProcess process_;
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
    ASSERT_TRUE(program.waitForDesktopWindows(monitors().size(), 15000));

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
    ASSERT_TRUE(program.waitForExit(10000)) << "the program did not quit";
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
