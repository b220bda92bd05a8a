#include "Program.h"
#include "tests/support/XTools.h"

#include <QByteArray>
#include <QFileInfo>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace e2e;
using namespace xtools;

namespace {

// An X server of the test's own, beside the one the test runs under, so that
// it can be killed under the program.
class PrivateServer {
public:
    bool start(bool withWindowManager)
    {
        // -displayfd 1: Xvfb picks a free display and writes its number to stdout once it is ready.
        if (!server_.start("Xvfb", { "-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0", "1280x800x24" },
                {}, false))
            return false;
        QString out;
        quill_test::WaitUntil([&] {
            out += server_.output();
            return out.contains('\n') || !server_.running();
        });
        bool ok = false;
        const int number = out.trimmed().toInt(&ok);
        if (!ok)
            return false;
        display_ = QStringLiteral(":%1").arg(number);
        return !withWindowManager || windowManager_.start("openbox", { "--sm-disable" }, { "DISPLAY=" + display_ });
    }

    const QString& display() const { return display_; }

    // Kills the server under its clients.
    void kill() { server_.stop(); }

    // Ends the server as the end of a session does, and returns once it is
    // gone: its process has ended and its socket is removed, so that a
    // client finds no server to talk to rather than one that is dying. Its
    // display number stays taken until this object goes, so that an X
    // server another test starts meanwhile takes another number: by the
    // server's abstract socket address, bound here but not listening, so
    // that a client is refused there and a server finds it in use before it
    // listens anywhere, and by a lock file of this process, as X servers
    // keep them. False if the server did not end, or another one took the
    // number first.
    bool end()
    {
        const QString number = display_.mid(1);
        const QString socket = "/tmp/.X11-unix/X" + number;
        const QString lock = "/tmp/.X" + number + "-lock";
        if (!server_.terminate()
            || !quill_test::WaitUntil([&] { return !QFileInfo::exists(socket) && !QFileInfo::exists(lock); }))
            return false;
        abstractAddress_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray path = socket.toLocal8Bit();
        // The abstract name: a zero byte, then the socket's path.
        std::memcpy(address.sun_path + 1, path.constData(), static_cast<std::size_t>(path.size()));
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
        if (abstractAddress_ < 0 || ::bind(abstractAddress_, reinterpret_cast<const sockaddr*>(&address), length) != 0)
            return false;
        lock_ = lock.toStdString();
        const int fd = ::open(lock_.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0444);
        if (fd < 0) {
            lock_.clear();
            return false;
        }
        char pid[16];
        const int written = std::snprintf(pid, sizeof pid, "%10d\n", static_cast<int>(::getpid()));
        const bool ok = ::write(fd, pid, static_cast<std::size_t>(written)) == written;
        ::close(fd);
        return ok;
    }

    ~PrivateServer()
    {
        windowManager_.stop();
        if (!lock_.empty())
            ::unlink(lock_.c_str());
        if (abstractAddress_ >= 0)
            ::close(abstractAddress_);
    }

    PrivateServer() = default;
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

private:
    Tool server_;
    Tool windowManager_;
    QString display_;
    std::string lock_;
    int abstractAddress_ = -1;
};

// Sets (or, with none, unsets) one environment variable for this process and
// the programs it starts, and puts the old value back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QString>& value)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , old_(qgetenv(name))
    {
        if (value)
            qputenv(name_, value->toLocal8Bit());
        else
            qunsetenv(name_);
    }
    ~ScopedVariable()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

QStringList lines(const QString& text) { return text.split('\n', Qt::SkipEmptyParts); }

// A start refused as every failed start is: the program ends by itself with
// status 1 and writes one line, which line receives.
void expectRefusal(Program& program, QString& line)
{
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); })) << "the program kept running";
    const QString text = program.standardError();
    EXPECT_TRUE(program.exitedNormally()) << "ended by a signal: " << text.toStdString();
    EXPECT_EQ(program.exitCode(), 1) << text.toStdString();
    ASSERT_EQ(lines(text).size(), 1) << text.toStdString();
    line = lines(text).front();
}

struct NoDisplayCase {
    const char* name;
    // The DISPLAY to start the program with (none: unset), and what its one line must name.
    std::function<std::optional<QString>(PrivateServer& server)> display;
    const char* named;
};

void PrintTo(const NoDisplayCase& c, std::ostream* os) { *os << c.name; }

class NoDisplay : public testing::TestWithParam<NoDisplayCase> { };

} // namespace

TEST_P(NoDisplay, EndsWithStatusOneAndOneLineSayingWhatToDo)
{
    PrivateServer server;
    const std::optional<QString> display = GetParam().display(server);
    if (HasFailure())
        return;
    ScopedVariable scoped("DISPLAY", display);

    Program program;
    ASSERT_TRUE(program.start());
    QString line;
    expectRefusal(program, line);
    if (HasFatalFailure())
        return;
    const QString text = program.standardError();
    EXPECT_TRUE(line.contains("cannot open the X display")) << text.toStdString();
    EXPECT_TRUE(line.contains(GetParam().named)) << text.toStdString();
    EXPECT_TRUE(line.contains("set DISPLAY to a running X server")) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Starts, NoDisplay,
    testing::Values(
        NoDisplayCase { "Unset", [](PrivateServer&) { return std::optional<QString>(); }, "DISPLAY is not set" },
        NoDisplayCase { "NoServer",
            [](PrivateServer&) {
                // A number no server of this machine uses.
                if (QFileInfo::exists("/tmp/.X11-unix/X999"))
                    ADD_FAILURE() << "a server runs on :999";
                return std::optional<QString>(":999");
            },
            "\":999\"" },
        NoDisplayCase { "ServerJustKilled",
            [](PrivateServer& server) {
                if (!server.start(false)) {
                    ADD_FAILURE() << "cannot start Xvfb";
                    return std::optional<QString>();
                }
                if (!server.end())
                    ADD_FAILURE() << "the X server on " << server.display().toStdString() << " did not go away";
                return std::optional<QString>(server.display());
            },
            "\":" }),
    [](const testing::TestParamInfo<NoDisplayCase>& info) { return std::string(info.param.name); });

namespace {

class DisplayLost : public testing::TestWithParam<bool> { };

} // namespace

TEST_P(DisplayLost, EndsWithStatusOneAndOneLineSayingTheDisplayWentAway)
{
    const bool withWindowManager = GetParam();
    PrivateServer server;
    ASSERT_TRUE(server.start(withWindowManager));
    ScopedVariable scoped("DISPLAY", server.display());
    if (withWindowManager) {
        ASSERT_TRUE(quill_test::WaitUntil([] { return windowManagerRunning(); }));
    }

    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == 1; }));
    server.kill();

    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); }))
        << "the program kept running without its display";
    const QString text = program.standardError();
    EXPECT_TRUE(program.exitedNormally()) << "ended by a signal: " << text.toStdString();
    EXPECT_EQ(program.exitCode(), 1) << text.toStdString();
    // Nothing else: no crash report, no sanitizer report, no second line.
    ASSERT_EQ(lines(text).size(), 1) << text.toStdString();
    EXPECT_TRUE(lines(text).front().contains(QStringLiteral("X display \"%1\" went away").arg(server.display())))
        << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DisplayLost, testing::Values(false, true), [](const testing::TestParamInfo<bool>& info) {
        return std::string(info.param ? "UnderOpenbox" : "WithoutWindowManager");
    });

namespace {

// Variables set in turn and put back in the reverse order, so that one set
// twice gets its first value back.
class ScopedEnvironment {
public:
    ~ScopedEnvironment()
    {
        while (!variables_.empty())
            variables_.pop_back();
    }
    void set(const char* name, const std::optional<QString>& value)
    {
        variables_.push_back(std::make_unique<ScopedVariable>(name, value));
    }

private:
    std::vector<std::unique_ptr<ScopedVariable>> variables_;
};

// A display that answers one connection only: a relay to the test's own X
// server that serves the first client and then is gone, so that a program
// that checks the display first and connects again afterwards finds it
// missing the second time.
class OneConnectionDisplay {
public:
    bool start()
    {
        const QString real = qEnvironmentVariable("DISPLAY").section(':', 1).section('.', 0, 0);
        for (int number = 900; number < 1000; ++number) {
            if (!QFileInfo::exists(socketOf(QString::number(number)))
                && !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) {
                display_ = QStringLiteral(":%1").arg(number);
                break;
            }
        }
        if (display_.isEmpty() || real.isEmpty())
            return false;
        const QString socket = socketOf(display_.mid(1));
        return relay_.start("socat", { "UNIX-LISTEN:" + socket, "UNIX-CONNECT:" + socketOf(real) })
            && quill_test::WaitUntil([&] { return QFileInfo::exists(socket); });
    }
    const QString& display() const { return display_; }

private:
    static QString socketOf(const QString& number) { return "/tmp/.X11-unix/X" + number; }

    Tool relay_;
    QString display_;
};

struct QtStartCase {
    const char* name;
    // The variables to set (a value) or unset (none); "<display>" in a value
    // stands for the display the case runs on.
    std::vector<std::pair<const char*, std::optional<QString>>> environment;
    // What the one line must say; none: the program runs on the X display.
    const char* refusal = nullptr;
    bool oneConnectionDisplay = false;
};

void PrintTo(const QtStartCase& c, std::ostream* os) { *os << c.name; }

class QtStart : public testing::TestWithParam<QtStartCase> { };

} // namespace

// The program runs on X11 whatever Qt is told, and every start Qt cannot make
// ends as any failed start does: status 1 and one line.
TEST_P(QtStart, RunsOnTheXDisplayOrEndsWithStatusOneAndOneLine)
{
    const QtStartCase& c = GetParam();
    OneConnectionDisplay relay;
    QString display = qEnvironmentVariable("DISPLAY");
    if (c.oneConnectionDisplay) {
        ASSERT_TRUE(relay.start()) << "cannot start socat";
        display = relay.display();
    }
    ScopedEnvironment environment;
    environment.set("DISPLAY", display);
    for (const auto& [name, value] : c.environment) {
        std::optional<QString> v = value;
        if (v)
            v->replace("<display>", display);
        environment.set(name, v);
    }

    Program program;
    ASSERT_TRUE(program.start());
    if (!c.refusal) {
        // Seen by the test through the X display: it runs there, and visibly.
        const std::size_t screens = monitors().size();
        quill_test::WaitUntil([&] { return program.desktopWindows().size() == screens || !program.isRunning(); });
        EXPECT_EQ(program.desktopWindows().size(), screens)
            << "no desktop window on the X display: " << program.standardError().toStdString();
        EXPECT_TRUE(program.isRunning());
        EXPECT_EQ(program.standardError().toStdString(), "");
        return;
    }
    QString line;
    expectRefusal(program, line);
    if (HasFatalFailure())
        return;
    const QString text = program.standardError();
    EXPECT_TRUE(line.startsWith("Unhandled RuntimeException: ")) << text.toStdString();
    EXPECT_TRUE(line.contains(QString(c.refusal).replace("<display>", display))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Platforms, QtStart,
    testing::Values(
        // Other platforms Qt knows: no compositor, none that shows anything,
        // one that listens on a network port, one that takes the console.
        QtStartCase { "WaylandWithoutCompositor", { { "QT_QPA_PLATFORM", "wayland" }, { "WAYLAND_DISPLAY", {} } } },
        QtStartCase { "Offscreen", { { "QT_QPA_PLATFORM", "offscreen" } } },
        QtStartCase { "Minimal", { { "QT_QPA_PLATFORM", "minimal" } } },
        QtStartCase { "Vnc", { { "QT_QPA_PLATFORM", "vnc" } } },
        QtStartCase { "Linuxfb", { { "QT_QPA_PLATFORM", "linuxfb" } } },
        QtStartCase { "UnknownName", { { "QT_QPA_PLATFORM", "nonesuch" } } },
        // A Wayland session, where Qt would try Wayland first.
        QtStartCase { "WaylandSession",
            { { "QT_QPA_PLATFORM", {} }, { "XDG_SESSION_TYPE", "wayland" }, { "WAYLAND_DISPLAY", "wayland-0" } } },
        QtStartCase { "FallbackList", { { "QT_QPA_PLATFORM", "wayland;offscreen" } } },
        QtStartCase { "MissingPluginPath", { { "QT_QPA_PLATFORM_PLUGIN_PATH", "/nonexistent/platforms" } } },
        QtStartCase { "ScreenZero", { { "DISPLAY", "<display>.0" } } },
        // No X display to run on.
        QtStartCase { "WaylandWithoutDisplay", { { "QT_QPA_PLATFORM", "wayland" }, { "DISPLAY", {} } },
            "cannot open the X display: DISPLAY is not set" },
        QtStartCase { "ScreenTheServerLacks", { { "DISPLAY", "<display>.5" } },
            "cannot open the X display \"<display>.5\": its X server has no screen 5" },
        QtStartCase { "OffscreenOnAScreenTheServerLacks",
            { { "QT_QPA_PLATFORM", "offscreen" }, { "DISPLAY", "<display>.1" } },
            "cannot open the X display \"<display>.1\": its X server has no screen 1" },
        // The display answers the check and is gone when Qt connects.
        QtStartCase { "GoneWhenQtConnects", {}, "Qt cannot start on the X display \"<display>\": ", true }),
    [](const testing::TestParamInfo<QtStartCase>& info) { return std::string(info.param.name); });
