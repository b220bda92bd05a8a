// Start-up, run in a probe process (the program's own main with a step
// observer), and the exception helper it installs.
#include "AppTestSupport.h"

#include "app/Startup.h"
#include "platform/RuntimeException.h"

#include <algorithm>
#include <stdexcept>

using app_test::Lines;
using xtools::runToEnd;

namespace {

std::vector<std::string> Steps(const std::string& out)
{
    std::vector<std::string> steps;
    for (const std::string& line : Lines(out))
        if (line.rfind("step ", 0) == 0)
            steps.push_back(line.substr(5));
    return steps;
}

std::string StateLines(const std::string& out, const std::string& when)
{
    std::string result;
    for (const std::string& line : Lines(out))
        if (line.rfind("state " + when + ":", 0) == 0)
            result += line + "\n";
    return result;
}

const std::vector<std::string> allSteps = {
    "RuntimeInit",
    "RuntimePerformInitializers",
    "RuntimeSetExceptionHelper",
    "RuntimeDeclareVersion",
    "SetSupportsHiDPI",
    "RuntimeInitExternalClasses",
    "InitPluginEntrypoints",
    "ResolvePluginClasses",
    "InitFileTypes",
    "NewApp",
    "SetVersionData",
    "SanityCheckWDDM",
    "SetMenuBar",
    "RuntimeRegisterAppObject",
    "DesktopColorPickerClose",
    "AddMenuHandler",
    "RunFrameworkInitialization",
    "LateStartup",
    "RuntimeRun",
    "RuntimePerformFinalizers",
    "RuntimeExit",
};

} // namespace

TEST(Startup, RunsItsStepsInOrderAndLeavesTheAppReady)
{
    const auto r = runToEnd(QUILL_STARTUP_PROBE, {});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Steps(r.out), allSteps);
    EXPECT_EQ(r.err.find("Unhandled"), std::string::npos) << r.err;

    // The menu handler is there before the framework initialises and before
    // any window exists.
    const std::string early = StateLines(r.out, "before initialisation");
    EXPECT_NE(
        early.find("handler yes, menu bar shared, windows 0, prefs none, runtime 2021.021, hidpi 1"), std::string::npos)
        << early;
    const std::string ready = StateLines(r.out, "before the loop");
    EXPECT_NE(ready.find("version 1 0 0 105 0 short \"1.0\" package \"\" long \"Quillamere Live Desktop 1.0, "),
        std::string::npos)
        << ready;
    EXPECT_NE(ready.find("2026"), std::string::npos) << "the long version names the year";
}

TEST(Startup, AFailureWhileTheAppIsMadeEndsStartupButNotTheFinalisers)
{
    for (const char* failing :
        { "NewApp", "SetVersionData", "SetMenuBar", "RuntimeRegisterAppObject", "AddMenuHandler" }) {
        SCOPED_TRACE(failing);
        const auto r = runToEnd(
            QUILL_STARTUP_PROBE, {}, { QStringLiteral("QUILL_PROBE_FAIL_AT=") + QString::fromLatin1(failing) });
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.exitCode, -1) << "the process exits, it does not crash";

        // Everything up to the failing step, then straight to the finalisers.
        const auto at = std::find(allSteps.begin(), allSteps.end(), failing);
        std::vector<std::string> expected(allSteps.begin(), at + 1);
        expected.push_back("RuntimePerformFinalizers");
        expected.push_back("RuntimeExit");
        EXPECT_EQ(Steps(r.out), expected);

        // Reported once, by the framework's handling.
        const auto errLines = Lines(r.err);
        const auto reports = std::count_if(errLines.begin(), errLines.end(),
            [](const std::string& l) { return l.find("Unhandled") != std::string::npos; });
        EXPECT_EQ(reports, 1) << r.err;
        EXPECT_NE(r.err.find(std::string("RuntimeException: injected failure at ") + failing), std::string::npos)
            << r.err;
    }
}

TEST(Startup, TheExceptionHelperReturnsRuntimeExceptionsAndPassesOthersOn)
{
    auto fine = [](void* hits) { ++*static_cast<int*>(hits); };
    int hits = 0;
    EXPECT_EQ(CallWithExceptionHandling(fine, &hits), nullptr);
    EXPECT_EQ(hits, 1);

    auto outOfBounds = [](void*) { throw platform::OutOfBoundsException("index 9"); };
    std::exception_ptr caught = CallWithExceptionHandling(outOfBounds, nullptr);
    ASSERT_TRUE(caught);
    EXPECT_THROW(std::rethrow_exception(caught), platform::OutOfBoundsException);

    auto other = [](void*) { throw std::logic_error("not the framework's"); };
    EXPECT_THROW(CallWithExceptionHandling(other, nullptr), std::logic_error);
}
