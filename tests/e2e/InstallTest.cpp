#include "Frames.h"
#include "tests/support/XTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#if !defined(QUILL_BUILD_DIR) || !defined(QUILL_CMAKE) || !defined(QUILL_INSTALL_BINDIR)                            \
    || !defined(QUILL_INSTALLED_RESOURCES)
#error "tests/e2e/CMakeLists.txt defines QUILL_BUILD_DIR, QUILL_CMAKE, QUILL_INSTALL_BINDIR and QUILL_INSTALLED_RESOURCES"
#endif

using namespace e2e;
using namespace xtools;

// The usual install into a prefix of one's own, and then the whole tree moved
// elsewhere, as a staged package or a copied folder is: the program finds its
// pictures from where its executable lies, whatever the working folder.
TEST(Install, MovedInstalledTreeFindsItsPictures)
{
    if (QFileInfo(QStringLiteral(QUILL_INSTALLED_RESOURCES)).isDir())
        GTEST_SKIP() << "pictures installed at " << QUILL_INSTALLED_RESOURCES << " would stand in for the moved ones";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString staged = work.filePath("staged");
    const QString moved = work.filePath("moved");

    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(QUILL_CMAKE), { "--install", QStringLiteral(QUILL_BUILD_DIR), "--prefix", staged });
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    ASSERT_TRUE(QDir().rename(staged, moved));

    QProcess program;
    program.setWorkingDirectory("/");
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(work.filePath("stderr"));
    program.start(moved + "/" + QUILL_INSTALL_BINDIR + "/quillamere", {});
    ASSERT_TRUE(program.waitForStarted(10000));
    auto standardError = [&] {
        QFile file(work.filePath("stderr"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    };

    auto exited = [&] { return program.state() == QProcess::NotRunning || program.waitForFinished(1); };
    ASSERT_TRUE(waitUntil(
        [&] { return exited() || !visibleWindows(program.processId(), "^Quillamere Live Desktop$").empty(); }, 15000));
    // Sprites drawn on the black desktop mean the pictures were loaded.
    bool drawn = false;
    waitUntil([&] { return exited() || (drawn = !Frames::blobs(screenshot()).empty()); }, 20000, 300);
    EXPECT_TRUE(drawn) << "nothing drawn";
    EXPECT_FALSE(exited()) << "the program ended";
    EXPECT_EQ(standardError(), "");

    program.terminate();
    if (!program.waitForFinished(3000)) {
        program.kill();
        program.waitForFinished(3000);
    }
}
