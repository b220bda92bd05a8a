#include "Fixtures.h"
#include "WindowMainProbe.h"

#include "platform/GL.h"
#include "platform/RuntimeException.h"
#include "platform/SpecialFolder.h"
#include "tests/support/AddressSanitizer.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <new>
#include <sys/resource.h>

namespace {

class Textures : public testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_shared<WindowMain>(0);
        WindowMainProbe::stopTimers(*window);
        // Mark the textures as loaded so that no Render loads the real ones.
        WindowMainProbe::inited(*window) = true;
        WindowMainProbe::surface(*window)->MakeCurrent();
    }
    void TearDown() override { window->Close(); }

    std::vector<std::uint8_t> bytesOf(std::uint32_t name, int& width, int& height)
    {
        WindowMainProbe::surface(*window)->MakeCurrent();
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width * height * 4));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        return bytes;
    }

    std::shared_ptr<WindowMain> window;
    PictureFixtures fixtures;
};

} // namespace

TEST_F(Textures, PixelsBecomeRgbaBytesWithOpacity)
{
    // Top row first: opaque FF8040, fully transparent, then 0x7F opaque
    // (framework transparency 0x80) and opaque blue.
    std::string path = fixtures.write("p.png", 2, 2,
        { qRgba(0xFF, 0x80, 0x40, 0xFF), qRgba(10, 20, 30, 0), qRgba(1, 2, 3, 0x7F), qRgba(0, 0, 0xFF, 0xFF) });
    WindowMainProbe::loadTextureFromPNGFile(*window, path);
    auto& names = WindowMainProbe::textureNames(*window);
    ASSERT_EQ(names.size(), 1u);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<std::uint32_t>(bound), names[0]) << "the new texture stays bound";
    GLint parameter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &parameter);
    EXPECT_EQ(parameter, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &parameter);
    EXPECT_EQ(parameter, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &parameter);
    EXPECT_EQ(parameter, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &parameter);
    EXPECT_EQ(parameter, GL_CLAMP);

    int w = 0, h = 0;
    auto bytes = bytesOf(names[0], w, h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(bytes,
        (std::vector<std::uint8_t> { 0xFF, 0x80, 0x40, 0xFF, 10, 20, 30, 0x00, 1, 2, 3, 0x7F, 0, 0, 0xFF, 0xFF }));
}

TEST_F(Textures, OnePixelPicture)
{
    WindowMainProbe::loadTextureFromPNGFile(*window, fixtures.write("one.png", 1, 1, { qRgba(9, 8, 7, 0xFF) }));
    int w = 0, h = 0;
    auto bytes = bytesOf(WindowMainProbe::textureNames(*window).at(0), w, h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t> { 9, 8, 7, 0xFF }));
}

TEST_F(Textures, UnreadablePictureNamesItsPathAndCreatesNoTexture)
{
    std::string missing = fixtures.path().toStdString() + "/none.png";
    std::string notPng = fixtures.path().toStdString() + "/text.png";
    {
        FILE* f = std::fopen(notPng.c_str(), "w");
        std::fputs("not a picture", f);
        std::fclose(f);
    }
    for (const std::string& path : { missing, notPng }) {
        try {
            WindowMainProbe::loadTextureFromPNGFile(*window, path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const platform::IOException& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(WindowMainProbe::textureNames(*window).empty());
}

// A picture that the context cannot hold as a texture, and an upload that the
// driver refuses, each end the load with an error that names the path.
TEST_F(Textures, PictureThatCannotBecomeATextureNamesItsPathAndKeepsNoTexture)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    QImage wide(largest + 1, 1, QImage::Format_ARGB32);
    wide.fill(0xFF000000);
    const std::string widePath = fixtures.path().toStdString() + "/wide.png";
    ASSERT_TRUE(wide.save(QString::fromStdString(widePath)));
    QImage high = wide.transformed(QTransform().rotate(90));
    const std::string highPath = fixtures.path().toStdString() + "/high.png";
    ASSERT_TRUE(high.save(QString::fromStdString(highPath)));

    // The one way this driver offers to make the upload itself fail: a pixel
    // unpack buffer too small for the picture, from which glTexImage2D would
    // read (GL_INVALID_OPERATION).
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    GLuint unpack = 0;
    auto bindSmallUnpackBuffer = [&] {
        gl->glGenBuffers(1, &unpack);
        gl->glBindBuffer(GL_PIXEL_UNPACK_BUFFER, unpack);
        gl->glBufferData(GL_PIXEL_UNPACK_BUFFER, 4, nullptr, GL_STATIC_DRAW);
    };
    const std::string solid = fixtures.solid("solid.png", 0xFF102030);

    struct Case {
        const char* what;
        std::string path;
        std::function<void()> prepare;
        const char* says;
    };
    for (const Case& c : { Case { "wider than the largest texture", widePath, [] {}, "" },
             Case { "higher than the largest texture", highPath, [] {}, "" },
             Case { "upload refused", solid, bindSmallUnpackBuffer, "GL_INVALID_OPERATION" } }) {
        SCOPED_TRACE(c.what);
        c.prepare();
        try {
            WindowMainProbe::loadTextureFromPNGFile(*window, c.path);
            ADD_FAILURE() << "no error";
        } catch (const platform::IOException& e) {
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_TRUE(WindowMainProbe::textureNames(*window).empty());
    }
    gl->glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    gl->glDeleteBuffers(1, &unpack);
    while (glGetError() != GL_NO_ERROR) { }
}

namespace {

std::int64_t addressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    std::int64_t kB = 0;
    while (status >> key) {
        if (key == "VmSize:" && status >> kB)
            return kB * 1024;
        status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return 0;
}

} // namespace

// Memory that runs out while a picture loads is reported as such for that
// picture, whether the decoder's image or the loader's own pixel buffer
// could not be had: an address-space limit a little above what the process
// uses leaves room for everything but the 64 MiB of one or both.
TEST_F(Textures, MemoryThatRunsOutIsReportedAsOutOfMemory)
{
    if (quill_test::UnderAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer reserves address space beyond any limit";
    // Not opaque, so that it decodes as ARGB32 and needs no conversion.
    QImage big(4096, 4096, QImage::Format_ARGB32);
    big.fill(qRgba(10, 20, 30, 0x80));
    const std::string path = fixtures.path().toStdString() + "/big.png";
    ASSERT_TRUE(big.save(QString::fromStdString(path)));
    big = QImage();
    constexpr std::int64_t pixels = 4096LL * 4096 * 4;
    constexpr std::int64_t slack = 24LL << 20;

    struct rlimit before { };
    ASSERT_EQ(getrlimit(RLIMIT_AS, &before), 0);
    for (auto [what, room] :
        { std::pair { "the decoded image", slack }, std::pair { "the pixel buffer", pixels + slack } }) {
        SCOPED_TRACE(what);
        struct rlimit tight = before;
        tight.rlim_cur = static_cast<rlim_t>(addressSpaceInUse() + room);
        ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
        std::string message;
        try {
            WindowMainProbe::loadTextureFromPNGFile(*window, path);
        } catch (const platform::IOException& e) {
            message = e.what();
        } catch (const std::bad_alloc&) {
            message = "std::bad_alloc";
        }
        ASSERT_EQ(setrlimit(RLIMIT_AS, &before), 0);
        EXPECT_EQ(message, "cannot read the picture " + path + ": out of memory");
        EXPECT_TRUE(WindowMainProbe::textureNames(*window).empty());
    }
}

// Loads the real pictures that the build generated beside the test program.
TEST_F(Textures, InitialiseLoadsTheFramesInNumberingOrder)
{
    WindowMainProbe::inited(*window) = false;
    WindowMainProbe::initialise(*window);
    EXPECT_TRUE(WindowMainProbe::inited(*window));
    auto names = WindowMainProbe::textureNames(*window);
    ASSERT_EQ(names.size(), 163u);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << "texture names repeat";

    const std::string resources = platform::SpecialFolder::Resources().NativePath();
    const std::pair<int, const char*> frames[] = { { 0, "/toaster_0000.png" }, { 7, "/toaster_0007.png" },
        { 130, "/toaster_0130.png" }, { 131, "/police_0000.png" }, { 160, "/police_0029.png" }, { 161, "/toast.png" },
        { 162, "/toast-burnt.png" } };
    for (auto [frame, file] : frames) {
        QImage expected(QString::fromStdString(resources + file));
        ASSERT_FALSE(expected.isNull()) << file;
        expected = expected.convertToFormat(QImage::Format_RGBA8888);
        int w = 0, h = 0;
        auto bytes = bytesOf(WindowMainProbe::textureNames(*window)[static_cast<std::size_t>(frame)], w, h);
        ASSERT_EQ(w, expected.width()) << file;
        ASSERT_EQ(h, expected.height()) << file;
        EXPECT_EQ(0, std::memcmp(bytes.data(), expected.constBits(), bytes.size()))
            << "frame " << frame << " is not " << file;
    }
}

// Run by run-without-resources.sh from a copy of this program beside a
// Resources folder that holds only the first picture.
TEST(MissingResources, LoadStopsAtTheFirstMissingPictureAndStaysInited)
{
    auto window = std::make_shared<WindowMain>(0);
    WindowMainProbe::stopTimers(*window);
    WindowMainProbe::inited(*window) = true; // keep the Render events from loading
    WindowMainProbe::surface(*window)->MakeCurrent();
    WindowMainProbe::inited(*window) = false;
    std::string expectedPath = platform::SpecialFolder::Resources().NativePath() + "/toaster_0001.png";
    try {
        WindowMainProbe::initialise(*window);
        ADD_FAILURE() << "initialise did not fail";
    } catch (const platform::IOException& e) {
        EXPECT_NE(std::string(e.what()).find(expectedPath), std::string::npos) << e.what();
    }
    EXPECT_TRUE(WindowMainProbe::inited(*window));
    EXPECT_EQ(WindowMainProbe::textureNames(*window).size(), 1u);
    window->Close();
}
