#include "platform/Picture.h"
#include "platform/FolderItem.h"
#include "platform/MemoryBlock.h"
#include "platform/RuntimeException.h"
#include "platform/SpecialFolder.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

using platform::FolderItem;
using platform::Picture;

namespace {

class PictureFiles : public testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

    std::string save(const QImage& image, const char* name, const char* format = "PNG") const
    {
        EXPECT_TRUE(image.save(QString::fromStdString(path(name)), format));
        return path(name);
    }

    std::string write(const char* name, const QByteArray& bytes) const
    {
        QFile file(QString::fromStdString(path(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    static std::shared_ptr<Picture> open(const std::string& file) { return Picture::Open(FolderItem(file)); }

    QTemporaryDir dir_;
};

std::uint32_t crc32(const char* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint8_t>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0 - (crc & 1)));
    }
    return ~crc;
}

void putBigEndian(QByteArray& bytes, int offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (24 - 8 * i));
}

} // namespace

TEST_F(PictureFiles, AlphaPngGivesTransparencyInThePixels)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0xFFFF8040); // opaque
    image.setPixel(1, 0, 0x00123456); // fully transparent, colour kept
    image.setPixel(2, 0, 0x7F102030); // half
    image.setPixel(0, 1, 0xFF000000);
    image.setPixel(1, 1, 0xFFFFFFFF);
    image.setPixel(2, 1, 0x01ABCDEF);
    auto picture = open(save(image, "alpha.png"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 2);

    auto surface = picture->RGBSurface();
    picture.reset(); // the surface keeps its pixels
    const std::uint32_t expected[2][3]
        = { { 0x00FF8040, 0xFF123456, 0x80102030 }, { 0x00000000, 0x00FFFFFF, 0xFEABCDEF } };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(surface->Pixel(x, y), expected[y][x]) << "pixel " << x << ", " << y;

    for (auto [x, y] : std::vector<std::pair<int, int>> { { -1, 0 }, { 3, 0 }, { 0, -1 }, { 0, 2 }, { 3, 2 } })
        EXPECT_THROW(surface->Pixel(x, y), platform::OutOfBoundsException) << "pixel " << x << ", " << y;
}

TEST_F(PictureFiles, OnePixelPicture)
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0x80C0FFEE);
    auto picture = open(save(image, "one.png"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 1);
    EXPECT_EQ(picture->Height(), 1);
    EXPECT_EQ(picture->RGBSurface()->Pixel(0, 0), 0x7FC0FFEEu);
    EXPECT_THROW(picture->RGBSurface()->Pixel(1, 0), platform::OutOfBoundsException);
}

// PNGs that Qt decodes into formats other than ARGB32 read the same way.
TEST_F(PictureFiles, OtherPngKindsReadAlike)
{
    QImage rgb(2, 1, QImage::Format_RGB32);
    rgb.setPixel(0, 0, 0xFFFF8040);
    rgb.setPixel(1, 0, 0xFF000001);

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({ 0xFFFF8040, 0x40204060 });
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);

    QImage deep(2, 1, QImage::Format_RGBA64);
    deep.setPixelColor(0, 0, QColor(0xFF, 0x80, 0x40, 0xFF));
    deep.setPixelColor(1, 0, QColor(0x20, 0x40, 0x60, 0x40));

    struct Case {
        const char* name;
        const QImage& image;
        std::uint32_t second;
    };
    for (const Case& c : { Case { "rgb.png", rgb, 0x00000001 }, Case { "indexed.png", indexed, 0xBF204060 },
             Case { "deep.png", deep, 0xBF204060 } }) {
        SCOPED_TRACE(c.name);
        auto picture = open(save(c.image, c.name));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->RGBSurface()->Pixel(0, 0), 0x00FF8040u);
        EXPECT_EQ(picture->RGBSurface()->Pixel(1, 0), c.second);
    }
}

TEST_F(PictureFiles, UnusableFilesGiveNone)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, static_cast<QRgb>((x * 2654435761u) ^ (y * 40503u)));
    QFile full(QString::fromStdString(save(image, "full.png")));
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    const QByteArray png = full.readAll();

    // A 1 x 1 PNG whose header (with a correct checksum) claims 100000 x 100000.
    QImage tiny(1, 1, QImage::Format_ARGB32);
    tiny.fill(0xFF000000);
    QFile small(QString::fromStdString(save(tiny, "tiny.png")));
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    QByteArray huge = small.readAll();
    ASSERT_EQ(huge.mid(12, 4), "IHDR");
    putBigEndian(huge, 16, 100000);
    putBigEndian(huge, 20, 100000);
    putBigEndian(huge, 29, crc32(huge.constData() + 12, 17));

    const std::string fifo = path("fifo.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    const std::pair<const char*, std::string> cases[] = {
        { "missing", path("missing.png") },
        { "a folder", dir_.path().toStdString() },
        { "empty", write("empty.png", {}) },
        { "truncated", write("truncated.png", png.left(png.size() / 2)) },
        { "header only", write("header.png", png.left(33)) },
        { "text", write("text.png", "not a picture\n") },
        { "a BMP named .png", save(image, "bitmap.png", "BMP") },
        { "claims 100000 x 100000", write("huge.png", huge) },
        { "a FIFO", fifo },
    };
    for (const auto& [what, file] : cases)
        EXPECT_EQ(open(file), nullptr) << what;
}

// Root reads a file whatever its mode says. The thread that opens the picture
// gives up that override for itself alone (capabilities belong to a thread),
// so that the mode decides as it does for any other user.
TEST_F(PictureFiles, UnreadablePictureSaysPermissionDenied)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(0xFF000000);
    const std::string file = save(image, "unreadable.png");
    ASSERT_EQ(chmod(file.c_str(), 0), 0);

    std::shared_ptr<Picture> picture;
    std::string whyNot;
    bool dropped = false;
    std::thread([&] {
        __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
        __user_cap_data_struct data[2] {};
        if (syscall(SYS_capget, &header, data) != 0)
            return;
        data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        if (syscall(SYS_capset, &header, data) != 0)
            return;
        dropped = true;
        picture = Picture::Open(FolderItem(file), 64, "the largest", whyNot);
    }).join();
    ASSERT_TRUE(dropped) << "could not give up the file-access override";
    EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(whyNot, "permission denied");
}

TEST_F(PictureFiles, SideLongerThanTheCallersLargestGivesNone)
{
    struct Case {
        int width, height;
        bool opens;
    };
    for (const Case& c : { Case { 64, 64, true }, Case { 65, 1, false }, Case { 1, 65, false } }) {
        QImage image(c.width, c.height, QImage::Format_ARGB32);
        image.fill(0xFF000000);
        const std::string file = save(image, "side.png");
        EXPECT_EQ(Picture::Open(FolderItem(file), 64) != nullptr, c.opens) << c.width << " x " << c.height;
        EXPECT_NE(open(file), nullptr) << c.width << " x " << c.height;
    }
}

// Image data far beyond what the declared pixels could need: a good picture
// followed by 20 MiB more of image data, with correct checksums, which the
// decoder would read to the end before it gave the picture.
TEST_F(PictureFiles, FileFarLargerThanItsPixelsNeedGivesNone)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(0xFF204080);
    QFile file(QString::fromStdString(save(image, "good.png")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray png = file.readAll();
    ASSERT_EQ(png.right(8).left(4), "IEND");

    QByteArray trailing(12 + (20 << 20), '\0');
    putBigEndian(trailing, 0, static_cast<std::uint32_t>(trailing.size() - 12));
    trailing.replace(4, 4, "IDAT");
    putBigEndian(trailing, trailing.size() - 4, crc32(trailing.constData() + 4, trailing.size() - 8));
    EXPECT_NE(open(write("plain.png", png)), nullptr);
    EXPECT_EQ(open(write("trailing.png", png.left(png.size() - 12) + trailing + png.right(12))), nullptr);
}

// The path is opened once and what was opened is checked: a FIFO swapped in
// for the picture at any moment is refused, and never blocks the caller.
TEST_F(PictureFiles, FifoSwappedInWhileOpeningNeverBlocks)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(0xFF00FF00);
    const std::string picture = save(image, "picture.png");
    const std::string fifo = path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    // On two processors of their own where there are two, so that the
    // swaps run truly alongside the opens.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    std::vector<int> processors;
    for (int cpu = 0; cpu < CPU_SETSIZE && processors.size() < 2; ++cpu) {
        if (CPU_ISSET(cpu, &allowed))
            processors.push_back(cpu);
    }
    auto runOn = [&](std::size_t which) {
        if (processors.size() < 2)
            return;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(processors[which], &one);
        pthread_setaffinity_np(pthread_self(), sizeof one, &one);
    };

    std::atomic<bool> stop { false };
    std::atomic<int> swaps { 0 };
    std::thread swapper([&] {
        runOn(0);
        while (!stop) {
            if (renameat2(AT_FDCWD, picture.c_str(), AT_FDCWD, fifo.c_str(), RENAME_EXCHANGE) == 0)
                ++swaps;
        }
    });
    // Enough opens, and enough swaps among them, to meet the moment between
    // a check and an open many times over.
    auto opens = std::async(std::launch::async, [&] {
        runOn(1);
        for (int i = 0; i < 2000 || swaps < 50000; ++i)
            open(picture);
    });
    const bool blocked = opens.wait_for(std::chrono::seconds(30)) == std::future_status::timeout;
    stop = true;
    swapper.join();
    // A reader blocked on the FIFO goes on once a writer comes and goes.
    while (opens.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout) {
        for (const std::string& name : { picture, fifo }) {
            const int fd = ::open(name.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    }
    EXPECT_FALSE(blocked) << "opening the picture blocked on a FIFO";
}

TEST(SpecialFolder, ResourcesBesideTheExecutable)
{
    namespace fs = std::filesystem;
    const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "Resources";
    fs::create_directories(beside); // where the build puts the pictures anyway
    EXPECT_EQ(platform::SpecialFolder::Resources().NativePath(), beside.string());
}

TEST(MemoryBlock, BytesAndInt32WithinItsSize)
{
    platform::MemoryBlock block(8);
    ASSERT_EQ(block.Size(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(block.Byte(i), 0) << "byte " << i;
    const std::uint32_t name = 0x01020304;
    std::memcpy(block.Data(), &name, 4); // as glGenTextures fills it
    EXPECT_EQ(block.Int32Value(0), 0x01020304);
    block.SetByte(7, 0xAB);
    EXPECT_EQ(block.Byte(7), 0xAB);

    EXPECT_THROW(block.Byte(8), platform::OutOfBoundsException);
    EXPECT_THROW(block.SetByte(-1, 0), platform::OutOfBoundsException);
    EXPECT_THROW(block.Int32Value(5), platform::OutOfBoundsException);
    EXPECT_THROW(platform::MemoryBlock(-1), platform::OutOfBoundsException);
    EXPECT_EQ(platform::MemoryBlock(0).Size(), 0);
}
