// The bare reference for the animation benchmark: the same sprites, textures
// and 35 ms / 500 ms pace as the live desktop, drawn straight on Qt and
// OpenGL 1.x without the framework layer. With --empty it only clears and
// swaps at the same rate. Prints one line when the first frame is drawn,
// one with the texture load's parts, and each window's tick rate and sprite
// count every 500 ms.
//
//   quill-reference-renderer [--empty] [--width W --height H] [--windows N] [--seconds S]
// With --windows N it opens N such windows side by side, each with its own
// sprites and textures, as the live desktop does on N monitors.
#include "PictureFiles.h"
#include "platform/Random.h"
#include "sprites/ExtendsSpriteArray.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QOpenGLWindow>
#include <QStringList>
#include <QTimer>

#include <GL/gl.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

class Reference : public QOpenGLWindow {
public:
    Reference(bool empty, int number)
        : empty_(empty)
        , number_(number)
    {
        QSurfaceFormat format;
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setRedBufferSize(8);
        format.setGreenBufferSize(8);
        format.setBlueBufferSize(8);
        format.setDepthBufferSize(24);
        format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
        setFormat(format);
        connect(&tick_, &QTimer::timeout, this, [this] { tick(); });
        connect(&spawn_, &QTimer::timeout, this, [this] { spawn(); });
        tick_.setTimerType(Qt::PreciseTimer);
        spawn_.setTimerType(Qt::PreciseTimer);
        tick_.start(35);
        spawn_.start(500);
        clock_.start();
    }

protected:
    void initializeGL() override
    {
        if (empty_)
            return;
        // The load's two parts timed apart: decoding the files, and handing
        // the pixels to the driver (which allocates and fills new storage).
        QElapsedTimer load, part;
        load.start();
        qint64 decodeNs = 0, uploadNs = 0;
        for (const QString& file : pictureFiles()) {
            part.start();
            QImage image(resourcesFolder() + file);
            if (image.isNull()) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(resourcesFolder() + file));
                std::exit(1);
            }
            image = image.convertToFormat(QImage::Format_RGBA8888);
            decodeNs += part.nsecsElapsed();
            part.start();
            GLuint name = 0;
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width(), image.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                image.constBits());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
            names_.push_back(name);
            uploadNs += part.nsecsElapsed();
        }
        part.start();
        glFinish();
        uploadNs += part.nsecsElapsed();
        std::printf("texture-load-ms %.1f decode-ms %.1f upload-ms %.1f\n", load.nsecsElapsed() / 1e6, decodeNs / 1e6,
            uploadNs / 1e6);
        std::fflush(stdout);
    }

    void resizeGL(int w, int h) override
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, w, 0, h, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        factor_ = static_cast<float>(w / 1000.0);
    }

    void paintGL() override
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!empty_) {
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_DEPTH_TEST);
            for (const auto& s : sprites_) {
                glBindTexture(GL_TEXTURE_2D, names_[static_cast<std::size_t>(s->index)]);
                glColor4f(s->colour, s->colour, s->colour, 1);
                float k = factor_ * s->size;
                float x0 = s->x - k, x1 = s->x + k, y0 = s->y - k, y1 = s->y + k;
                glBegin(GL_QUADS);
                glTexCoord2f(0, 0);
                glVertex2f(x0, y1);
                glTexCoord2f(0, 1);
                glVertex2f(x0, y0);
                glTexCoord2f(1, 1);
                glVertex2f(x1, y0);
                glTexCoord2f(1, 0);
                glVertex2f(x1, y1);
                glEnd();
            }
        }
        if (!firstFrameReported_) {
            firstFrameReported_ = true;
            std::printf("first-frame-ms %.1f\n", clock_.nsecsElapsed() / 1e6);
            std::fflush(stdout);
        }
    }

private:
    void tick()
    {
        float limit = -50.0f * factor_;
        for (const auto& s : sprites_)
            s->update(factor_);
        std::erase_if(sprites_, [limit](const auto& s) { return s->x <= limit || s->y <= limit; });
        ++ticks_;
        update();
    }

    void spawn()
    {
        if (empty_)
            return;
        std::printf("screen %d fps %lld sprites %zu\n", number_, ticks_ * 2, sprites_.size());
        std::fflush(stdout);
        ticks_ = 0;
        auto& random = platform::System::Random();
        if (random.InRange(0, 10) > 5)
            return;
        auto s = Sprite::getNew();
        int w = width(), h = height();
        int margin = static_cast<int>(100 * factor_);
        if (random.InRange(margin, w + h) > w) {
            s->x = static_cast<float>(w + margin / 2.0);
            s->y = static_cast<float>(random.InRange(margin / 2, h - margin / 2));
        } else {
            s->x = static_cast<float>(random.InRange(margin, w));
            s->y = static_cast<float>(h + margin / 2.0);
        }
        s->z(static_cast<float>(random.InRange(0, 100) / 100.0));
        ExtendsSpriteArray::InsertSorted(sprites_, s);
    }

    bool empty_;
    int number_;
    bool firstFrameReported_ = false;
    float factor_ = 0;
    long long ticks_ = 0;
    std::vector<GLuint> names_;
    SpriteArray sprites_;
    QTimer tick_, spawn_;
    QElapsedTimer clock_;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    bool empty = args.contains("--empty");
    int w = 1920, h = 1080, seconds = 0, count = 1;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--width")
            w = args[i + 1].toInt();
        else if (args[i] == "--height")
            h = args[i + 1].toInt();
        else if (args[i] == "--seconds")
            seconds = args[i + 1].toInt();
        else if (args[i] == "--windows")
            count = args[i + 1].toInt();
    }
    std::vector<std::unique_ptr<Reference>> windows;
    for (int i = 0; i < count; ++i) {
        windows.push_back(std::make_unique<Reference>(empty, i));
        windows.back()->setFlags(Qt::FramelessWindowHint);
        windows.back()->setGeometry(i * w, 0, w, h);
        windows.back()->show();
    }
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}
