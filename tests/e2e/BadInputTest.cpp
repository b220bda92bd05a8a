#include "Program.h"
#include "tests/support/AddressSanitizer.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/resource.h>
#include <sys/stat.h>

#ifndef QUILL_INSTALLED_RESOURCES
#error "tests/e2e/CMakeLists.txt defines QUILL_INSTALLED_RESOURCES"
#endif

using namespace e2e;

namespace {

const QString brokenPicture = QStringLiteral("toaster_0042.png");

QString builtResources() { return QFileInfo(Program::builtExecutable()).absolutePath() + "/Resources"; }

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const char* type, const QByteArray& data)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), out.data());
    QByteArray body = QByteArray(type) + data;
    out += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return out + crc;
}

// A well-formed PNG whose header claims 100000 × 100000 RGBA pixels.
QByteArray hugePng()
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(100000, header.data());
    qToBigEndian<quint32>(100000, header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 6; // RGBA
    QByteArray rows = qCompress(QByteArray(1024, '\0')).mid(4); // a zlib stream
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", rows) + chunk("IEND", {});
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray goodPicture()
{
    QFile good(builtResources() + "/" + brokenPicture);
    EXPECT_TRUE(good.open(QIODevice::ReadOnly));
    return good.readAll();
}

// The good picture with 3 GB more of image data after its own, in two chunks
// whose bytes are holes of a sparse file: the decoder would read through
// them for seconds.
void writeTrailingImageData(const QString& path)
{
    QByteArray png = goodPicture();
    ASSERT_EQ(png.right(8).left(4), "IEND");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(png.left(png.size() - 12));
    const quint32 length = 1500u << 20;
    for (int i = 0; i < 2; ++i) {
        QByteArray header(4, '\0');
        qToBigEndian<quint32>(length, header.data());
        file.write(header + "IDAT");
        ASSERT_TRUE(file.resize(file.pos() + length));
        ASSERT_TRUE(file.seek(file.size()));
        file.write(QByteArray(4, '\0')); // the checksum, unchecked before the data is read
    }
    file.write(png.right(12));
}

struct BadInputCase {
    const char* name;
    // What the line says after the picture's path and a colon.
    const char* reason;
    bool resourcesFolder;
    // Puts the broken picture in place of the good one; may do nothing.
    std::function<void(const QString& path)> breakPicture;
};

class BadInput : public testing::TestWithParam<BadInputCase> { };

} // namespace

TEST_P(BadInput, EndsAtOnceWithOneLineNamingTheFile)
{
    const BadInputCase& c = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString executable = folder.filePath("quillamere");
    ASSERT_TRUE(QFile::copy(Program::builtExecutable(), executable));
    QFile::setPermissions(executable, QFile::permissions(Program::builtExecutable()));

    QString named;
    if (c.resourcesFolder) {
        QDir resources(folder.filePath("Resources"));
        ASSERT_TRUE(QDir().mkpath(resources.path()));
        const QStringList pictures = QDir(builtResources()).entryList({ "*.png" }, QDir::Files);
        ASSERT_EQ(pictures.size(), 163);
        for (const QString& picture : pictures) {
            if (picture != brokenPicture) {
                ASSERT_TRUE(QFile::link(builtResources() + "/" + picture, resources.filePath(picture)));
            }
        }
        named = resources.filePath(brokenPicture);
        c.breakPicture(named);
    } else {
        if (QFileInfo(QStringLiteral(QUILL_INSTALLED_RESOURCES)).isDir())
            GTEST_SKIP() << "installed pictures stand in for the missing folder";
        named = QStringLiteral(QUILL_INSTALLED_RESOURCES) + "/toaster_0000.png";
    }

    Program program(executable);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); })) << "the program kept running";
    std::cout << "[ measured ] " << c.name << ": exit " << program.exitCode() << " after " << program.secondsToExit()
              << " s; stderr:\n"
              << program.standardError().toStdString();
    EXPECT_TRUE(program.exitedNormally()) << "the program crashed";
    EXPECT_EQ(program.exitCode(), 1);
    // About a second for the program; the rest is slack for a loaded machine.
    EXPECT_LT(program.secondsToExit(), 3.0);

    // The decoder may warn on its own lines; the program says it once.
    QString text = program.standardError();
    int naming = 0, others = 0;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        if (line.contains(named))
            ++naming;
        else if (!line.startsWith("libpng") && !line.contains("QImageIOHandler"))
            ++others;
    }
    EXPECT_EQ(naming, 1) << text.toStdString();
    EXPECT_TRUE(text.contains("cannot read the picture " + named + ": " + QString::fromUtf8(c.reason)))
        << "expected the reason \"" << c.reason << "\" in:\n"
        << text.toStdString();
    EXPECT_EQ(others, 0) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pictures, BadInput,
    testing::Values(BadInputCase { "ResourcesFolderMissing", "no such file", false, nullptr },
        BadInputCase { "PictureMissing", "no such file", true, [](const QString&) {} },
        BadInputCase { "PictureTruncated", "damaged", true,
            [](const QString& path) {
                QFile good(builtResources() + "/" + brokenPicture);
                ASSERT_TRUE(good.open(QIODevice::ReadOnly));
                QByteArray bytes = good.readAll();
                write(path, bytes.left(bytes.size() / 3));
            } },
        BadInputCase { "NotAPicture", "not a PNG file", true,
            [](const QString& path) { write(path, "This is a note about toasters, not a picture.\n"); } },
        BadInputCase { "JpegInAPicturesPlace", "not a PNG file", true,
            [](const QString& path) {
                QImage image(8, 8, QImage::Format_RGB32);
                image.fill(0xFF804020);
                ASSERT_TRUE(image.save(path, "JPEG"));
            } },
        BadInputCase { "DirectoryInAPicturesPlace", "a directory", true,
            [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); } },
        BadInputCase { "PictureTooLarge", "100000 \u00D7 100000 is larger than this driver's largest texture of 16384",
            true, [](const QString& path) { write(path, hugePng()); } },
        BadInputCase { "PictureWiderThanAnyTexture",
            "16385 \u00D7 1 is larger than this driver's largest texture of 16384", true,
            [](const QString& path) {
                // One pixel wider than Mesa's largest texture.
                QImage wide(16385, 1, QImage::Format_ARGB32);
                wide.fill(0xFF000000);
                ASSERT_TRUE(wide.save(path, "PNG"));
            } },
        BadInputCase { "TrailingImageData", "far larger than its pixels need", true, writeTrailingImageData },
        BadInputCase { "PictureIsAFifo", "not a regular file", true,
            [](const QString& path) { ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0); } }),
    [](const testing::TestParamInfo<BadInputCase>& info) { return std::string(info.param.name); });

namespace {

// A number from the program's /proc entry: "VmPeak:" of status (kB), or
// "rchar:" of io (bytes).
qint64 procField(qint64 pid, const char* file, const QString& key)
{
    QFile proc(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!proc.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : proc.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == key.toLatin1())
            return fields[1].toLongLong();
    }
    return -1;
}

} // namespace

// Memory that runs out in the middle of the load ends the program with one
// line that says so for the picture being loaded, status 1, no signal. The
// address-space limit is what a run of the same program with fine pictures
// needed at its highest, plus 16 MiB: room for every fine picture, none for
// one that decodes to 128 MiB.
TEST(TightMemoryBadInput, MemoryThatRunsOutIsReportedAsOutOfMemory)
{
    // Built with the rest, the program reserves its shadow memory at start.
    if (quill_test::UnderAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer reserves address space beyond any limit";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString executable = folder.filePath("quillamere");
    ASSERT_TRUE(QFile::copy(Program::builtExecutable(), executable));
    QFile::setPermissions(executable, QFile::permissions(Program::builtExecutable()));
    QDir resources(folder.filePath("Resources"));
    ASSERT_TRUE(QDir().mkpath(resources.path()));
    qint64 pictureBytes = 0;
    for (const QString& picture : QDir(builtResources()).entryList({ "*.png" }, QDir::Files)) {
        ASSERT_TRUE(QFile::link(builtResources() + "/" + picture, resources.filePath(picture)));
        pictureBytes += QFileInfo(builtResources() + "/" + picture).size();
    }

    qint64 peakKb = -1;
    {
        Program fine(executable);
        ASSERT_TRUE(fine.start());
        // Every window has read all its pictures once the program has read
        // their bytes as many times as it shows windows.
        ASSERT_TRUE(quill_test::WaitUntil([&] {
            const auto windows = static_cast<qint64>(fine.desktopWindows().size());
            return windows > 0 && procField(fine.pid(), "io", "rchar:") >= windows * pictureBytes;
        }));
        // Settled once the peak holds for half a second.
        ASSERT_TRUE(quill_test::WaitUntil([&] {
            const qint64 before = procField(fine.pid(), "status", "VmPeak:");
            quill_test::Spin(500);
            peakKb = procField(fine.pid(), "status", "VmPeak:");
            return peakKb > 0 && peakKb == before;
        }));
    }

    const QString named = resources.filePath(brokenPicture);
    ASSERT_TRUE(QFile::remove(named));
    {
        // Not opaque, so that it decodes as 32-bit ARGB: 128 MiB.
        QImage big(8192, 4096, QImage::Format_ARGB32);
        big.fill(qRgba(10, 20, 30, 0x80));
        ASSERT_TRUE(big.save(named, "PNG"));
    }

    QProcess process;
    const rlim_t limit = static_cast<rlim_t>(peakKb * 1024 + (16 << 20));
    process.setChildProcessModifier([limit] {
        struct rlimit tight {
            limit, limit
        };
        setrlimit(RLIMIT_AS, &tight);
    });
    process.start(executable, {});
    ASSERT_TRUE(process.waitForStarted(10000));
    ASSERT_TRUE(process.waitForFinished(20000)) << "the program kept running";
    const QString text = QString::fromLocal8Bit(process.readAllStandardError());
    std::cout << "[ measured ] limit " << limit / 1024 << " kB; stderr:\n" << text.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "the program crashed";
    EXPECT_EQ(process.exitCode(), 1);
    QStringList lines;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith("libpng") && !line.contains("QImageIOHandler"))
            lines << line;
    }
    EXPECT_EQ(lines, QStringList { "Unhandled IOException: cannot read the picture " + named + ": out of memory" });
}
