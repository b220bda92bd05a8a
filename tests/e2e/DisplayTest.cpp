#include "Program.h"
#include "tests/support/XTools.h"

#include <QByteArray>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>

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
    // display number stays taken, by a lock file of this process as X
    // servers keep them, until this object goes: an X server that another
    // test starts meanwhile takes another number. False if the server did
    // not end, or another one took the number first.
    bool end()
    {
        const QString number = display_.mid(1);
        const QString socket = "/tmp/.X11-unix/X" + number;
        const QString lock = "/tmp/.X" + number + "-lock";
        if (!server_.terminate()
            || !quill_test::WaitUntil([&] { return !QFileInfo::exists(socket) && !QFileInfo::exists(lock); }))
            return false;
        lock_ = lock.toStdString();
        const int fd = ::open(lock_.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0444);
        if (fd < 0) {
            lock_.clear();
            return false;
        }
        char pid[16];
        const int length = std::snprintf(pid, sizeof pid, "%10d\n", static_cast<int>(::getpid()));
        const bool written = ::write(fd, pid, static_cast<std::size_t>(length)) == length;
        ::close(fd);
        return written;
    }

    ~PrivateServer()
    {
        windowManager_.stop();
        if (!lock_.empty())
            ::unlink(lock_.c_str());
    }

private:
    Tool server_;
    Tool windowManager_;
    QString display_;
    std::string lock_;
};

// Sets (or, with none, unsets) DISPLAY for this process and the programs it
// starts, and puts the old value back afterwards.
class ScopedDisplay {
public:
    explicit ScopedDisplay(const std::optional<QString>& display)
        : had_(qEnvironmentVariableIsSet("DISPLAY"))
        , old_(qgetenv("DISPLAY"))
    {
        if (display)
            qputenv("DISPLAY", display->toLocal8Bit());
        else
            qunsetenv("DISPLAY");
    }
    ~ScopedDisplay()
    {
        if (had_)
            qputenv("DISPLAY", old_);
        else
            qunsetenv("DISPLAY");
    }

private:
    bool had_;
    QByteArray old_;
};

QStringList lines(const QString& text) { return text.split('\n', Qt::SkipEmptyParts); }

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
    ScopedDisplay scoped(display);

    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); })) << "the program kept running";
    const QString text = program.standardError();
    EXPECT_TRUE(program.exitedNormally()) << "ended by a signal: " << text.toStdString();
    EXPECT_EQ(program.exitCode(), 1) << text.toStdString();
    ASSERT_EQ(lines(text).size(), 1) << text.toStdString();
    const QString line = lines(text).front();
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
    ScopedDisplay scoped(server.display());
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
