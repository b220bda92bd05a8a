#include "XTools.h"

#include "tests/support/EventLoop.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <algorithm>

namespace xtools {
namespace {

    // Whether a started process ends within timeoutMs; an application on
    // this thread handles its events meanwhile.
    bool ends(QProcess& process, int timeoutMs)
    {
        if (!quill_test::detail::RunsTheEventLoop())
            return process.waitForFinished(timeoutMs);
        if (!process.waitForStarted(timeoutMs))
            return false;
        return quill_test::WaitUntil(
            [&] { return process.state() == QProcess::NotRunning || process.waitForFinished(5); }, timeoutMs);
    }

    // Lets a started process run to its end, or kills it when the time is up;
    // false if it had to be killed.
    bool finish(QProcess& process, int timeoutMs)
    {
        if (ends(process, timeoutMs))
            return true;
        process.kill();
        process.waitForFinished(2000);
        return false;
    }

    QProcessEnvironment withEntries(const QStringList& entries)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : entries) {
            const auto equals = entry.indexOf('=');
            if (equals > 0)
                environment.insert(entry.left(equals), entry.mid(equals + 1));
        }
        return environment;
    }

    std::vector<WindowId> idsAfterHash(const QString& text)
    {
        std::vector<WindowId> ids;
        int hash = text.indexOf('#');
        if (hash < 0)
            return ids;
        for (const QString& part : text.mid(hash + 1).split(',', Qt::SkipEmptyParts)) {
            bool ok = false;
            WindowId id = part.trimmed().toULong(&ok, 16);
            if (ok)
                ids.push_back(id);
        }
        return ids;
    }

    std::vector<WindowId> idsPerLine(const QString& text)
    {
        std::vector<WindowId> ids;
        for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
            bool ok = false;
            WindowId id = line.trimmed().toULong(&ok, 10);
            if (ok)
                ids.push_back(id);
        }
        return ids;
    }

    int field(const QString& text, const QString& label)
    {
        QRegularExpression re(QRegularExpression::escape(label) + QStringLiteral(":\\s*(-?\\d+)"));
        auto match = re.match(text);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

} // namespace

QString run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    finish(process, timeoutMs);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

Finished runToEnd(const QString& program, const QStringList& arguments, const QStringList& environment, int timeoutMs)
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(withEntries(environment));
    process.start(program, arguments);
    Finished result;
    const bool ended = finish(process, timeoutMs);
    result.crashed = !ended || process.exitStatus() == QProcess::CrashExit;
    if (ended && process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

Tool::Tool() = default;

Tool::~Tool() { stop(); }

bool Tool::start(const QString& program, const QStringList& arguments, const QStringList& environment, bool quiet)
{
    stop();
    process_ = std::make_unique<QProcess>();
    if (!environment.isEmpty())
        process_->setProcessEnvironment(withEntries(environment));
    if (quiet)
        process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QProcess::nullDevice());
    process_->start(program, arguments);
    return process_->waitForStarted(10000);
}

qint64 Tool::pid() const { return process_ ? process_->processId() : 0; }

bool Tool::running() const { return process_ && process_->state() != QProcess::NotRunning; }

QString Tool::output()
{
    if (!process_)
        return {};
    process_->waitForReadyRead(20);
    return QString::fromLocal8Bit(process_->readAllStandardOutput());
}

void Tool::stop()
{
    if (!running())
        return;
    process_->kill();
    process_->waitForFinished(5000);
}

bool Tool::terminate(int timeoutMs)
{
    if (!running())
        return true;
    process_->terminate();
    return ends(*process_, timeoutMs);
}

WindowId startXlogo(Tool& xlogo, const QString& geometry, int timeoutMs)
{
    if (!xlogo.start("xlogo", { "-geometry", geometry }))
        return 0;
    WindowId id = 0;
    quill_test::WaitUntil(
        [&] {
            const auto found = visibleWindowsOfClass("xlogo");
            id = found.empty() ? 0 : found.front();
            return id != 0;
        },
        timeoutMs);
    return id;
}

bool startTray(Tool& tray)
{
    return tray.start("trayer", { "--edge", "bottom", "--widthtype", "pixel", "--width", "100", "--height", "24" })
        && quill_test::WaitUntil([&] { return !visibleWindows(tray.pid(), "^panel$").empty(); });
}

std::vector<QRect> trayIcons(const Tool& tray, const QString& className)
{
    // "     0x600006 "quillamere": ("quillamere" "quillamere")  22x22+0+0  +591+777"
    const QRegularExpression re(
        QStringLiteral("\\(\"[^\"]*\" \"%1\"\\)\\s+(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)")
            .arg(QRegularExpression::escape(className)));
    std::vector<QRect> found;
    for (WindowId panel : visibleWindows(tray.pid(), "^panel$")) {
        const QString tree = run("xwininfo", { "-id", QString::number(panel), "-tree" });
        for (auto it = re.globalMatch(tree); it.hasNext();) {
            const auto m = it.next();
            found.emplace_back(
                m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        }
    }
    return found;
}

std::vector<QRect> monitors()
{
    // " 0: +*quill0 1280/338x1024/270+0+0  screen"
    QRegularExpression re(QStringLiteral("^\\s*\\d+:\\s+\\+?(\\*?)\\S+\\s+(\\d+)/\\d+x(\\d+)/\\d+\\+(\\d+)\\+(\\d+)"));
    std::vector<QRect> result;
    for (const QString& line : run("xrandr", { "--listmonitors" }).split('\n')) {
        auto m = re.match(line);
        if (!m.hasMatch())
            continue;
        QRect r(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (m.captured(1) == "*")
            result.insert(result.begin(), r);
        else
            result.push_back(r);
    }
    return result;
}

bool setMonitor(const QString& name, const QString& geometry)
{
    QProcess process;
    process.start("xrandr", { "--setmonitor", name, geometry, "none" });
    return ends(process, 10000) && process.exitCode() == 0;
}

bool deleteMonitor(const QString& name)
{
    QProcess process;
    process.start("xrandr", { "--delmonitor", name });
    return ends(process, 10000) && process.exitCode() == 0;
}

bool windowManagerRunning() { return run("xprop", { "-root", "_NET_SUPPORTING_WM_CHECK" }).contains("window id"); }

std::vector<WindowId> clientList() { return idsAfterHash(run("xprop", { "-root", "_NET_CLIENT_LIST" })); }

std::vector<WindowId> stacking() { return idsAfterHash(run("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" })); }

bool managed(WindowId window) { return contains(stacking(), window); }

bool stackedBelow(WindowId lower, WindowId upper)
{
    const auto ids = stacking();
    const auto a = indexOf(ids, lower);
    const auto b = indexOf(ids, upper);
    return a >= 0 && b >= 0 && a < b;
}

std::vector<WindowId> topLevelWindows()
{
    if (windowManagerRunning())
        return clientList();
    return rootChildren();
}

std::vector<WindowId> rootChildren()
{
    // "     0x200001 "name": ()  10x10+0+0  +0+0"
    std::vector<WindowId> ids;
    QRegularExpression re(QStringLiteral("^\\s+(0x[0-9a-fA-F]+)\\s"));
    for (const QString& line : run("xwininfo", { "-root", "-children" }).split('\n')) {
        auto m = re.match(line);
        if (m.hasMatch())
            ids.push_back(m.captured(1).toULong(nullptr, 16));
    }
    return ids;
}

std::vector<WindowId> visibleWindowsOfClass(const QString& className)
{
    return idsPerLine(run("xdotool", { "search", "--onlyvisible", "--classname", className }));
}

std::vector<WindowId> visibleWindows(qint64 pid, const QString& titlePattern)
{
    std::vector<WindowId> found = idsPerLine(
        run("xdotool", { "search", "--all", "--onlyvisible", "--pid", QString::number(pid), "--name", titlePattern }));
    std::vector<WindowId> tops = topLevelWindows();
    std::vector<WindowId> result;
    for (WindowId id : found) {
        if (contains(tops, id))
            result.push_back(id);
    }
    return result;
}

std::vector<WindowId> popupMenus(qint64 pid)
{
    // Menus are override-redirect windows straight under the root, which
    // no window manager reparents.
    std::vector<WindowId> result;
    for (WindowId id : rootChildren()) {
        QString info = run("xwininfo", { "-id", QString::number(id) });
        if (!info.contains("IsViewable") || !info.contains("Override Redirect State: yes"))
            continue;
        if (property(id, "_NET_WM_PID").endsWith("= " + QString::number(pid)))
            result.push_back(id);
    }
    return result;
}

QString property(WindowId window, const QString& name)
{
    return run("xprop", { "-id", QString::number(window), name }).trimmed();
}

QStringList propertyValues(WindowId window, const QString& name)
{
    const QString line = property(window, name);
    const auto equals = line.indexOf(" = ");
    if (equals < 0)
        return {};
    return line.mid(equals + 3).split(", ");
}

void setRootProperty(const QString& name, const QString& format, const QString& value)
{
    run("xprop", { "-root", "-f", name, format, "-set", name, value });
}

QString wmState(WindowId window)
{
    // "WM_STATE(WM_STATE):\n\t\twindow state: Normal\n\t\ticon window: 0x0"
    const QString text = property(window, "WM_STATE");
    const auto at = text.indexOf("window state: ");
    return at < 0 ? QString() : text.mid(at + 14).section('\n', 0, 0).trimmed();
}

bool viewable(WindowId window) { return run("xwininfo", { "-id", QString::number(window) }).contains("IsViewable"); }

QString title(WindowId window)
{
    QString text = property(window, "_NET_WM_NAME");
    int quote = text.indexOf('"');
    if (quote < 0)
        return {};
    return text.mid(quote + 1, text.lastIndexOf('"') - quote - 1);
}

QRect geometry(WindowId window)
{
    QString text = run("xwininfo", { "-id", QString::number(window) });
    return QRect(field(text, "Absolute upper-left X"), field(text, "Absolute upper-left Y"), field(text, "Width"),
        field(text, "Height"));
}

WindowId activeWindow() { return run("xdotool", { "getactivewindow" }).trimmed().toULong(); }

bool activate(WindowId window, int timeoutMs)
{
    // Without --sync: xdotool would wait forever for a window that the
    // window manager declines to activate.
    run("xdotool", { "windowactivate", QString::number(window) });
    return quill_test::WaitUntil([&] { return activeWindow() == window; }, timeoutMs);
}

void raise(WindowId window) { run("xdotool", { "windowraise", QString::number(window) }); }

void minimize(WindowId window) { run("xdotool", { "windowminimize", QString::number(window) }); }

void resize(WindowId window, QSize size)
{
    run("xdotool",
        { "windowsize", "--sync", QString::number(window), QString::number(size.width()),
            QString::number(size.height()) });
}

void key(const QString& keys)
{
    QStringList arguments { "key" };
    arguments += keys.split(' ', Qt::SkipEmptyParts);
    run("xdotool", arguments);
}

void click(QPoint at, int button)
{
    run("xdotool", { "mousemove", QString::number(at.x()), QString::number(at.y()), "click", QString::number(button) });
}

void clickRepeatedly(QPoint at, int repeat, int delayMs)
{
    run("xdotool",
        { "mousemove", QString::number(at.x()), QString::number(at.y()), "click", "--repeat", QString::number(repeat),
            "--delay", QString::number(delayMs), "1" },
        120000);
}

QImage screenshot()
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start("import", { "-window", "root", "-depth", "8", "ppm:-" });
    if (!finish(process, 20000))
        return {};
    return QImage::fromData(process.readAllStandardOutput(), "PPM").convertToFormat(QImage::Format_RGB32);
}

bool lessRect(const QRect& a, const QRect& b) { return std::pair(a.x(), a.y()) < std::pair(b.x(), b.y()); }

std::vector<QRect> framesOf(const std::vector<WindowId>& windows)
{
    std::vector<QRect> frames;
    for (WindowId id : windows)
        frames.push_back(geometry(id));
    std::sort(frames.begin(), frames.end(), lessRect);
    return frames;
}

} // namespace xtools
