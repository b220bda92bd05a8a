// A small program built on the framework layer alone, run by the runtime
// tests in a process of its own: it goes through the start-up steps, does
// what its one argument names, and reports on stdout what it saw.

#include "platform/Application.h"
#include "platform/CheckBox.h"
#include "platform/OpenGLSurface.h"
#include "platform/Runtime.h"
#include "platform/RuntimeException.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "tests/platform/FileMenuBar.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

std::string mode;

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Runs a shell command from inside the event loop (keys and clicks for this
// very process, which handles them once the command returned).
void shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        say("command failed: " + command);
}

class ProbeWindow : public platform::Window {
public:
    ProbeWindow() { Constructor(); }
    void Layout() override
    {
        SetMenuBar(menu_test::FileMenuBar());
        SetWidth(300);
        SetHeight(200);
        SetType(TypePlainBox);
        SetTitle("Quill Probe");
        SetResizeable(false);
    }
    void CreateControls() override
    {
        auto timer = std::make_shared<platform::Timer>(*this);
        AddControl("Tick", timer);
        timer->SetPeriod(mode == "quit-key" || mode == "menu-throws" || mode == "checkbox-throws" ? 300 : 20);
        timer->SetRunMode(platform::Timer::RunModeMultiple);
        timer->Action = [this](platform::Timer& t) { Tick_Action(t); };

        if (mode == "render-throws") {
            auto surface = std::make_shared<platform::OpenGLSurface>(*this);
            AddControl("Surface", surface);
            surface->SetWidth(300);
            surface->SetHeight(100);
            surface->Render = [](platform::OpenGLSurface&) -> bool {
                throw platform::IOException("cannot read picture /missing/toaster_0000.png");
            };
        }
        auto box = std::make_shared<platform::CheckBox>(*this);
        AddControl("Box", box);
        box->SetLeft(20);
        box->SetTop(120);
        box->SetWidth(200);
        box->SetHeight(20);
        box->SetCaption("Probe");
        box->Action = [](platform::CheckBox&) { throw platform::OutOfBoundsException("checkbox action failed"); };
    }
    void Event_Open() override
    {
        say("window-open");
        if (mode == "open-throws")
            throw platform::NilObjectException("nil in window Open");
    }
    void Event_Close() override
    {
        say("window-close");
        if (mode == "close-throws" && quits)
            throw platform::IOException("cannot write on close");
    }

    void Tick_Action(platform::Timer&)
    {
        ++ticks;
        if (mode == "timer-throws")
            throw platform::IOException("cannot read picture /missing/toaster_0000.png");
        if (mode == "std-exception")
            throw std::runtime_error("not a framework exception");
        if ((mode == "quit" || mode == "close-throws") && ticks == 3 && quits)
            platform::Quit();
        if (ticks != 2)
            return;
        const std::string activate = "xdotool search --sync --name '^Quill Probe$' windowactivate --sync";
        if (mode == "quit-key")
            shell(activate + " && xdotool key ctrl+q");
        if (mode == "menu-throws")
            shell(activate + " && xdotool key ctrl+comma");
        if (mode == "checkbox-throws")
            shell("xdotool mousemove 130 230 click 1"); // the box, window at (100, 100)
    }
    int ticks = 0;
    // Whether this window quits the program (the first one does).
    bool quits = true;
};

class ProbeApp : public platform::Application {
public:
    void Event_Open() override
    {
        say("app-open");
        if (mode == "app-open-throws")
            throw platform::IllegalCastException("bad cast in Open");
        window = std::make_shared<ProbeWindow>();
        window->SetBounds({ 100, 100, 300, 200 });
        if (mode == "close-throws") {
            second = std::make_shared<ProbeWindow>();
            second->quits = false;
            second->SetBounds({ 450, 100, 300, 200 });
        }
    }
    std::shared_ptr<ProbeWindow> window;
    std::shared_ptr<ProbeWindow> second;
};

} // namespace

int main(int argc, char** argv)
{
    mode = argc > 1 ? argv[1] : "";
    platform::RuntimeInit();
    platform::RuntimePerformInitializers();
    try {
        platform::RuntimeSetExceptionHelper(platform::DefaultExceptionHelper);
        platform::RuntimeDeclareVersion(2021.021);
        platform::Application::SetSupportsHiDPI(true);
        platform::RuntimeInitExternalClasses();
        platform::InitPluginEntrypoints();
        platform::ResolvePluginClasses();
        if (mode == "startup-throws")
            throw platform::NilObjectException("nil application object");
        auto app = std::make_shared<ProbeApp>();
        app->SetVersionData(1, 0, 0, 105, 0, "Probe", "1.0", "");
        app->SetMenuBar(menu_test::FileMenuBar());
        platform::RuntimeRegisterAppObject(app);
        platform::DesktopColorPickerClose();
        platform::GetAppObject()->AddMenuHandler(
            "ShowPreferences", []() -> bool { throw platform::RuntimeException("menu handler failed"); });
        platform::RunFrameworkInitialization([] { say("late-startup"); });
        say("loop-start");
        platform::RuntimeRun();
        say("loop-returned");
        if (app->second)
            say(app->second->IsClosed() && app->second->Handle() == 0 ? "second-window-closed" : "second-window-open");
    } catch (...) {
        platform::RuntimeUnhandledException(std::current_exception());
    }
    platform::RuntimePerformFinalizers();
    say("finalized");
    return platform::RuntimeExit();
}
