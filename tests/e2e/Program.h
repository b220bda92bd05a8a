#pragma once

#include "tests/support/XTools.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <vector>

namespace e2e {

// The program under test, run as its own process: started, watched through
// the windows it shows, and stopped by its PID.
class Program {
public:
    static QString builtExecutable();

    // Run from workingDirectory, or from the test's own when none is given.
    explicit Program(QString executable = builtExecutable(), QString workingDirectory = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool start();
    qint64 pid() const { return pid_; }
    // False once the process has ended; wait for that with
    // quill_test::WaitUntil([&] { return !program.isRunning(); }).
    bool isRunning();

    std::vector<xtools::WindowId> desktopWindows() const;
    std::vector<xtools::WindowId> preferencesWindows() const;

    bool exitedNormally() const;
    int exitCode() const;
    // From the launch to the moment isRunning first saw the exit.
    double secondsToExit() const;
    QString standardError() const;

    // Ends the process by its PID: SIGTERM, then SIGKILL.
    void stop();

private:
    QString executable_;
    QString workingDirectory_;
    QTemporaryDir outputDir_;
    QProcess process_;
    qint64 pid_ = 0;
    std::chrono::steady_clock::time_point launched_;
    std::chrono::steady_clock::time_point exited_;
};

} // namespace e2e
