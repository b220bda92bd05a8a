#pragma once

// Helpers of the application shell's tests: the real event loop, the
// registered App and child processes. The X tools are run through
// tests/support/XTools.h.

#include "tests/support/EventLoop.h"
#include "tests/support/XTools.h"
#include "app/App.h"
#include "app/WindowPreferences.h"
#include "desktop_window/WindowMain.h"
#include "platform/Runtime.h"
#include "platform/Screen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace app_test {

// Waits longer than the shared default: whole program windows open here.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 8000)
{
    return quill_test::WaitUntil(done, timeoutMs);
}
using quill_test::Spin;

// Whether a window has opened and is shown (it is shown after its Open event).
inline bool IsOpen(const platform::Window& window)
{
    auto* top = reinterpret_cast<QWidget*>(static_cast<std::intptr_t>(window.Handle()));
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
        Spin(50);
    }
    virtual std::shared_ptr<App> MakeApp() { return std::make_shared<App>(); }

    // Raises the App's Open event and waits until its windows have opened.
    void OpenApp()
    {
        app->Event_Open();
        ASSERT_TRUE(WaitUntil([&] {
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
            EXPECT_TRUE(WaitUntil([&] { return IsOpen(*prefs); }));
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

// --- child processes ---

struct ProcessResult {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

inline std::vector<char*> Argv(std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs a program to its end (killing it, by its PID, after timeoutMs) and
// collects its output. extraEnv entries are NAME=value.
inline ProcessResult RunProcess(
    std::vector<std::string> args, const std::vector<std::string>& extraEnv = {}, int timeoutMs = 20000)
{
    ProcessResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    auto argv = Argv(args);
    auto envp = Argv(env);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd fds[2] = { { outPipe[0], POLLIN, 0 }, { errPipe[0], POLLIN, 0 } };
    int open = 2;
    bool killed = false;
    while (open > 0) {
        if (!killed && std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            killed = true;
        }
        if (poll(fds, 2, 100) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

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
    xtools::run(
        "xprop", { "-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", QString::fromStdString(area) });
    return WaitUntil([&] { return platform::Screen::ScreenAt(0).AvailableTop() == top; });
}

} // namespace app_test
