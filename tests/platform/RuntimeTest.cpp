#include "FileMenuBar.h"
#include "PlatformTestSupport.h"

#include "platform/Application.h"
#include "platform/Picture.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QImage>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace platform_test;

namespace {

struct Probe {
    xtools::Finished result;
    std::vector<std::string> out, err;
};

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

Probe probe(const char* mode)
{
    Probe p;
    p.result = xtools::runToEnd(QStringLiteral(QUILL_RUNTIME_PROBE), { QString::fromLatin1(mode) }, {}, 30000);
    p.out = lines(p.result.out);
    p.err = lines(p.result.err);
    return p;
}

// Qt's own warnings on stderr are not ours to count.
std::vector<std::string> reports(const Probe& p)
{
    std::vector<std::string> result;
    for (const auto& line : p.err) {
        if (line.rfind("Unhandled ", 0) == 0)
            result.push_back(line);
    }
    return result;
}

// The probe's last line of output; none if it printed nothing (it crashed).
std::string lastLine(const Probe& p) { return p.out.empty() ? std::string() : p.out.back(); }

bool saw(const Probe& p, const std::string& line) { return std::find(p.out.begin(), p.out.end(), line) != p.out.end(); }

void expectUnhandled(const Probe& p, const std::string& report)
{
    EXPECT_FALSE(p.result.crashed) << p.result.err;
    EXPECT_EQ(p.result.exitCode, 1) << p.result.err;
    EXPECT_EQ(reports(p), std::vector<std::string> { report }) << p.result.err;
    // The loop ended and the finalisers ran.
    EXPECT_TRUE(saw(p, "loop-returned")) << p.result.out;
    EXPECT_EQ(lastLine(p), "finalized") << p.result.err;
}

} // namespace

TEST(Runtime, StartsOpensOnceAndQuitsWithExitCodeZero)
{
    const Probe p = probe("quit");
    EXPECT_FALSE(p.result.crashed);
    EXPECT_EQ(p.result.exitCode, 0) << p.result.err;
    EXPECT_TRUE(reports(p).empty()) << p.result.err;
    EXPECT_EQ(p.out,
        (std::vector<std::string> {
            "late-startup", "loop-start", "app-open", "window-open", "window-close", "loop-returned", "finalized" }));
}

TEST(Runtime, AnExceptionEscapingStartUpSkipsTheLoopAndExitsWithOne)
{
    const Probe p = probe("startup-throws");
    EXPECT_FALSE(p.result.crashed);
    EXPECT_EQ(p.result.exitCode, 1);
    EXPECT_EQ(reports(p), std::vector<std::string> { "Unhandled NilObjectException: nil application object" });
    EXPECT_EQ(p.out, std::vector<std::string> { "finalized" });
}

TEST(Runtime, AnExceptionFromAnyEventEndsTheLoopWithOneReport)
{
    struct Case {
        const char* mode;
        const char* report;
    };
    const Case cases[] = {
        { "timer-throws", "Unhandled IOException: cannot read picture /missing/toaster_0000.png" },
        { "std-exception", "Unhandled std::runtime_error: not a framework exception" },
        { "render-throws", "Unhandled IOException: cannot read picture /missing/toaster_0000.png" },
        { "open-throws", "Unhandled NilObjectException: nil in window Open" },
        { "app-open-throws", "Unhandled IllegalCastException: bad cast in Open" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        expectUnhandled(probe(c.mode), c.report);
    }
}

TEST(Runtime, AQuitWhoseFirstCloseEventThrowsEndsWithOneReportAndClosesEveryWindow)
{
    const Probe p = probe("close-throws");
    EXPECT_FALSE(p.result.crashed);
    EXPECT_EQ(p.result.exitCode, 1) << p.result.err;
    EXPECT_EQ(reports(p), std::vector<std::string> { "Unhandled IOException: cannot write on close" }) << p.result.err;
    // Once the first window's Close event threw, no event reaches the
    // program: the second window gets no Close event, and is closed and torn
    // down all the same before the loop returns.
    EXPECT_EQ(p.out,
        (std::vector<std::string> { "late-startup", "loop-start", "app-open", "window-open", "window-open",
            "window-close", "loop-returned", "second-window-closed", "finalized" }));
}

TEST(RuntimeInput, TheQuitKeyQuitsThroughTheFramework)
{
    const Probe p = probe("quit-key");
    EXPECT_FALSE(p.result.crashed);
    EXPECT_EQ(p.result.exitCode, 0) << p.result.err << p.result.out;
    EXPECT_TRUE(saw(p, "window-close"));
    EXPECT_EQ(lastLine(p), "finalized") << p.result.err;
}

TEST(RuntimeInput, ExceptionsFromMenuHandlersAndCheckBoxesReachTheSameHandling)
{
    expectUnhandled(probe("menu-throws"), "Unhandled RuntimeException: menu handler failed");
    expectUnhandled(probe("checkbox-throws"), "Unhandled OutOfBoundsException: checkbox action failed");
}

namespace {

// Qt's window for a tray icon shown in a tray, if there is one.
QWidget* trayIconWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("QSystemTrayIconSys") && widget->isVisible())
            return widget;
    }
    return nullptr;
}

std::shared_ptr<platform::Picture> solidPicture(const QTemporaryDir& folder, const char* name, QColor colour)
{
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG"))
        return nullptr;
    return platform::Picture::Open(platform::FolderItem(path.toStdString()));
}

// The colour at the middle of the icon as Qt paints it into the tray.
QColor trayIconMiddle(QWidget* window)
{
    const QImage shown = window->grab().toImage();
    return shown.pixelColor(shown.width() / 2, shown.height() / 2);
}

} // namespace

TEST(RuntimeTray, TheIconShowsTheToolTipAndPictureTheApplicationGives)
{
    xtools::Tool tray;
    ASSERT_TRUE(tray.start("trayer", { "--SetDockType", "true", "--widthtype", "pixel", "--width", "200" }));
    ASSERT_TRUE(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));
    QTemporaryDir folder;
    auto red = solidPicture(folder, "red.png", QColor(220, 20, 20));
    auto blue = solidPicture(folder, "blue.png", QColor(20, 20, 220));
    ASSERT_TRUE(red && blue);

    auto app = std::make_shared<platform::Application>();
    app->SetMenuBar(menu_test::FileMenuBar());
    app->SetTrayIcon("Probe in the tray", red);
    platform::RuntimeRegisterAppObject(app);
    platform::RunFrameworkInitialization({});

    QWidget* shown = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (shown = trayIconWindow()) != nullptr; }));
    EXPECT_EQ(shown->toolTip().toStdString(), "Probe in the tray");
    EXPECT_TRUE(WaitUntil([&] { return trayIconMiddle(shown) == QColor(220, 20, 20); }))
        << trayIconMiddle(shown).name().toStdString();

    // A new tooltip and picture replace the old ones; without a picture there is no icon.
    app->SetTrayIcon("Another title", blue);
    ASSERT_TRUE(WaitUntil([&] { return (shown = trayIconWindow()) != nullptr; }));
    EXPECT_EQ(shown->toolTip().toStdString(), "Another title");
    EXPECT_TRUE(WaitUntil([&] { return trayIconMiddle(shown) == QColor(20, 20, 220); }))
        << trayIconMiddle(shown).name().toStdString();
    app->SetTrayIcon("No picture", nullptr);
    EXPECT_TRUE(WaitUntil([] { return trayIconWindow() == nullptr; }));

    platform::RuntimePerformFinalizers();
}
