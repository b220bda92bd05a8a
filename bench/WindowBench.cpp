// Benchmark harness for one animation window, through the framework layer.
//
//   quill-window-bench --decode            decode the 163 pictures, print the time
//   quill-window-bench [--seconds S]       one 1920 x 1080 window: print the time of
//                                          its first frame (the texture load), then
//                                          the tick rate and sprite count each second
#include "PictureFiles.h"
#include "desktop_window/WindowMain.h"
#include "platform/OpenGLSurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTimer>

#include <cstdio>

// The friend WindowMain grants for looking inside.
struct WindowMainProbe {
    static std::int64_t fps(WindowMain& w) { return w.fps; }
    static std::size_t spriteCount(WindowMain& w) { return w.sprites.size(); }
    static bool inited(WindowMain& w) { return w.inited; }
    static std::shared_ptr<platform::OpenGLSurface> surface(WindowMain& w) { return w.Surface(); }
};

namespace {

int decode()
{
    QString resources = resourcesFolder();
    const QStringList files = pictureFiles();
    QElapsedTimer clock;
    clock.start();
    qint64 bytes = 0;
    for (const QString& file : files) {
        QImage image = QImage(resources + file).convertToFormat(QImage::Format_ARGB32);
        bytes += image.sizeInBytes();
    }
    std::printf("decode-ms %.1f bytes %lld\n", clock.nsecsElapsed() / 1e6, static_cast<long long>(bytes));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.contains("--decode"))
        return decode();
    int seconds = 10;
    if (int i = static_cast<int>(args.indexOf("--seconds")); i >= 0 && i + 1 < args.size())
        seconds = args[i + 1].toInt();

    QElapsedTimer clock;
    clock.start();
    auto window = std::make_shared<WindowMain>(0);
    window->SetBounds({ 0, 0, 1920, 1080 });
    auto surface = WindowMainProbe::surface(*window);
    auto render = surface->Render;
    bool reported = false;
    surface->Render = [&](platform::OpenGLSurface& s) {
        QElapsedTimer frame;
        frame.start();
        bool loads = !WindowMainProbe::inited(*window);
        bool result = render(s);
        if (loads && !reported) {
            reported = true;
            std::printf("first-frame-ms %.1f launch-to-first-frame-ms %.1f\n", frame.nsecsElapsed() / 1e6,
                clock.nsecsElapsed() / 1e6);
            std::fflush(stdout);
        }
        return result;
    };
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        std::printf("fps %lld sprites %zu\n", static_cast<long long>(WindowMainProbe::fps(*window)),
            WindowMainProbe::spriteCount(*window));
        std::fflush(stdout);
    });
    report.start(1000);
    QTimer::singleShot(seconds * 1000, &app, [&] {
        window->Close();
        app.quit();
    });
    return app.exec();
}
