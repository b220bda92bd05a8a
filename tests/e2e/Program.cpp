#include "Program.h"

#include <QFile>

#ifndef QUILL_PROGRAM
#error "tests/e2e/CMakeLists.txt defines QUILL_PROGRAM"
#endif

namespace e2e {

using namespace xtools;

QString Program::builtExecutable() { return QStringLiteral(QUILL_PROGRAM); }

Program::Program(QString executable, QString workingDirectory)
    : executable_(std::move(executable))
    , workingDirectory_(std::move(workingDirectory))
{
}

Program::~Program() { stop(); }

bool Program::start()
{
    process_.setStandardOutputFile(outputDir_.filePath("stdout"));
    process_.setStandardErrorFile(outputDir_.filePath("stderr"));
    if (!workingDirectory_.isEmpty())
        process_.setWorkingDirectory(workingDirectory_);
    launched_ = std::chrono::steady_clock::now();
    process_.start(executable_, {});
    if (!process_.waitForStarted(10000))
        return false;
    pid_ = process_.processId();
    return true;
}

bool Program::isRunning()
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(1))
        return true;
    if (exited_ == std::chrono::steady_clock::time_point {})
        exited_ = std::chrono::steady_clock::now();
    return false;
}

std::vector<WindowId> Program::desktopWindows() const
{
    return visibleWindows(pid_, QStringLiteral("^Quillamere Live Desktop$"));
}

std::vector<WindowId> Program::preferencesWindows() const
{
    return visibleWindows(pid_, QStringLiteral("^Quillamere Preferences$"));
}

bool Program::exitedNormally() const
{
    return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit;
}

int Program::exitCode() const { return process_.exitCode(); }

double Program::secondsToExit() const { return std::chrono::duration<double>(exited_ - launched_).count(); }

QString Program::standardError() const
{
    QFile file(outputDir_.filePath("stderr"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll());
}

void Program::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!quill_test::WaitUntil([&] { return !isRunning(); }, 3000)) {
        process_.kill();
        quill_test::WaitUntil([&] { return !isRunning(); }, 3000);
    }
}

} // namespace e2e
