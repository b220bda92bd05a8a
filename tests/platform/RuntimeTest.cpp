#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace platform_test;

namespace {

struct Probe {
    CommandResult result;
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
    p.result = RunCommand(QStringLiteral(QUILL_RUNTIME_PROBE), { QString::fromLatin1(mode) }, 30000);
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

bool saw(const Probe& p, const std::string& line) { return std::find(p.out.begin(), p.out.end(), line) != p.out.end(); }

void expectUnhandled(const Probe& p, const std::string& report)
{
    EXPECT_FALSE(p.result.crashed) << p.result.err;
    EXPECT_EQ(p.result.exitCode, 1) << p.result.err;
    EXPECT_EQ(reports(p), std::vector<std::string> { report }) << p.result.err;
    // The loop ended and the finalisers ran.
    EXPECT_TRUE(saw(p, "loop-returned")) << p.result.out;
    EXPECT_EQ(p.out.back(), "finalized");
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

TEST(RuntimeInput, TheQuitKeyQuitsThroughTheFramework)
{
    const Probe p = probe("quit-key");
    EXPECT_FALSE(p.result.crashed);
    EXPECT_EQ(p.result.exitCode, 0) << p.result.err << p.result.out;
    EXPECT_TRUE(saw(p, "window-close"));
    EXPECT_EQ(p.out.back(), "finalized");
}

TEST(RuntimeInput, ExceptionsFromMenuHandlersAndCheckBoxesReachTheSameHandling)
{
    expectUnhandled(probe("menu-throws"), "Unhandled RuntimeException: menu handler failed");
    expectUnhandled(probe("checkbox-throws"), "Unhandled OutOfBoundsException: checkbox action failed");
}
