#include "Frames.h"
#include "Program.h"
#include "tests/support/XTools.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#if !defined(QUILL_BUILD_DIR) || !defined(QUILL_CMAKE) || !defined(QUILL_INSTALL_BINDIR)                               \
    || !defined(QUILL_INSTALLED_RESOURCES)
#error                                                                                                                 \
    "tests/e2e/CMakeLists.txt defines QUILL_BUILD_DIR, QUILL_CMAKE, QUILL_INSTALL_BINDIR and QUILL_INSTALLED_RESOURCES"
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

    const Finished install = runToEnd(
        QStringLiteral(QUILL_CMAKE), { "--install", QStringLiteral(QUILL_BUILD_DIR), "--prefix", staged }, {}, 60000);
    ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
    ASSERT_TRUE(QDir().rename(staged, moved));

    Program program(moved + "/" + QUILL_INSTALL_BINDIR + "/quillamere", "/");
    ASSERT_TRUE(program.start());
    auto exited = [&] { return !program.isRunning(); };
    ASSERT_TRUE(quill_test::WaitUntil([&] { return exited() || !program.desktopWindows().empty(); }));
    // Sprites drawn on the black desktop mean the pictures were loaded.
    bool drawn = false;
    quill_test::WaitUntil([&] { return exited() || (drawn = !Frames::blobs(screenshot()).empty()); });
    EXPECT_TRUE(drawn) << "nothing drawn";
    EXPECT_FALSE(exited()) << "the program ended";
    EXPECT_EQ(program.standardError().toStdString(), "");
    program.stop();
}
