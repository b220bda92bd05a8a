// Linked with the program's own main: follows start-up step by step on
// stdout, makes the step named by QUILL_PROBE_FAIL_AT throw, and reports the
// application's state at the framework's initialisation and just before the
// event loop, which it then ends at once (the loop returns straight away).
#include "app/App.h"
#include "app/Startup.h"
#include "desktop_window/MainMenuBar.h"
#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/RuntimeException.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void report(const char* when)
{
    std::shared_ptr<App> app = App::Instance();
    if (!app) {
        std::printf("state %s: no app\n", when);
        return;
    }
    std::printf("state %s: version %lld %lld %lld %lld %lld short \"%s\" package \"%s\" long \"%s\"\n", when,
        static_cast<long long>(app->MajorVersion()), static_cast<long long>(app->MinorVersion()),
        static_cast<long long>(app->BugVersion()), static_cast<long long>(app->NonReleaseVersion()),
        static_cast<long long>(app->StageCode()), app->ShortVersion().c_str(), app->PackageInfo().c_str(),
        app->LongVersion().c_str());
    std::printf("state %s: handler %s, menu bar %s, windows %zu, prefs %s, runtime %.3f, hidpi %d\n", when,
        app->MenuHandler("ShowPreferences") ? "yes" : "no",
        app->MenuBar() == MainMenuBar::Instance() ? "shared" : "other", app->windows.size(),
        app->prefsWindow ? "yes" : "none", platform::RuntimeVersion(), platform::Application::SupportsHiDPI() ? 1 : 0);
}

void observe(const char* step)
{
    std::printf("step %s\n", step);
    std::fflush(stdout);
    const char* failAt = std::getenv("QUILL_PROBE_FAIL_AT");
    if (failAt && std::strcmp(failAt, step) == 0)
        throw platform::RuntimeException(std::string("injected failure at ") + step);
    if (std::strcmp(step, "RunFrameworkInitialization") == 0)
        report("before initialisation");
    if (std::strcmp(step, "RuntimeRun") == 0) {
        report("before the loop");
        std::fflush(stdout);
        platform::Quit();
    }
}

const bool installed = [] {
    startupStepObserver = &observe;
    return true;
}();

} // namespace
