#include "tests/artwork/ArtworkNames.h"
#include "tests/support/XTools.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct GeneratorRun {
    int exitCode;
    QByteArray errors;
};

GeneratorRun generate(const QStringList& arguments)
{
    const xtools::Finished run = xtools::runToEnd(QStringLiteral(QUILL_ARTWORK_GENERATOR), arguments, {}, 60000);
    return { run.exitCode, QByteArray::fromStdString(run.err) };
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}

TEST(ArtworkGenerator, TwoRunsWriteIdenticalBytes)
{
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    ASSERT_EQ(generate({ first.path() }).exitCode, 0);
    ASSERT_EQ(generate({ second.path() }).exitCode, 0);
    for (const QString& name : ArtworkNames::all()) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray a = contents(QDir(first.path()).filePath(name));
        ASSERT_FALSE(a.isEmpty());
        EXPECT_TRUE(a == contents(QDir(second.path()).filePath(name)));
    }
}

TEST(ArtworkGenerator, ReportsWhatItCannotDo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    // A folder that cannot be made, because a file stands in its way.
    const GeneratorRun unwritable = generate({ blocker + QStringLiteral("/pictures") });
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errors.contains("plain-file/pictures")) << unwritable.errors.constData();
    const GeneratorRun sheet = generate({ QStringLiteral("--contact-sheet"), blocker + QStringLiteral("/sheet.png") });
    EXPECT_EQ(sheet.exitCode, 1);
    // Nothing to do, or an option it does not know.
    EXPECT_EQ(generate({}).exitCode, 2);
    EXPECT_EQ(generate({ dir.path(), QStringLiteral("--frames") }).exitCode, 2);
    EXPECT_EQ(generate({ QStringLiteral("--contact-sheet") }).exitCode, 2);
}

TEST(ArtworkGenerator, ContactSheetShowsEveryFrame)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("sheet.png"));
    ASSERT_EQ(generate({ QStringLiteral("--contact-sheet"), path }).exitCode, 0);
    const QImage sheet(path);
    ASSERT_FALSE(sheet.isNull());
    // Sixteen cells of 100 pixels a row, eleven rows for 163 frames, the last one lit.
    EXPECT_EQ(sheet.width(), 16 * 100);
    EXPECT_EQ(sheet.height(), 11 * 114);
    bool lastCellDrawn = false;
    for (int y = 10 * 114; y < 10 * 114 + 100 && !lastCellDrawn; ++y)
        for (int x = 2 * 100 + 2; x < 3 * 100 - 2 && !lastCellDrawn; ++x)
            lastCellDrawn = qGray(sheet.pixel(x, y)) > 40;
    EXPECT_TRUE(lastCellDrawn);
}
