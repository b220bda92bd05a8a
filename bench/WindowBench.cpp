// Benchmark harness for one animation window, through the framework layer.
//
//   quill-window-bench --decode            decode the 163 pictures, print the time
//   quill-window-bench [--seconds S] [--all-screens]
//        one 1920 x 1080 window (or one window over each screen's full frame):
//        print the time of the first frame (the texture load), then each
//        window's tick rate and sprite count every second
#include "PictureFiles.h"
#include "desktop_window/WindowMain.h"
#include "platform/OpenGLSurface.h"
#include "platform/Screen.h"
#include "tests/desktop_window/WindowMainProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTimer>

#include <cstdio>

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
    std::vector<std::shared_ptr<WindowMain>> windows;
    if (args.contains("--all-screens")) {
        for (std::int64_t i = 0; i < platform::Screen::ScreenCount(); ++i) {
            auto screen = platform::Screen::ScreenAt(i);
            windows.push_back(std::make_shared<WindowMain>(i));
            windows.back()->SetBounds({ static_cast<double>(screen.Left()), static_cast<double>(screen.Top()),
                static_cast<double>(screen.Width()), static_cast<double>(screen.Height()) });
        }
    } else {
        windows.push_back(std::make_shared<WindowMain>(0));
        windows.back()->SetBounds({ 0, 0, 1920, 1080 });
    }
    for (const auto& window : windows) {
        auto surface = WindowMainProbe::surface(*window);
        surface->Render = [&clock, w = window.get(), render = surface->Render](platform::OpenGLSurface& s) {
            QElapsedTimer frame;
            frame.start();
            bool loads = !WindowMainProbe::inited(*w);
            bool result = render(s);
            if (loads) {
                std::printf("screen %lld first-frame-ms %.1f launch-to-first-frame-ms %.1f\n",
                    static_cast<long long>(w->screen), frame.nsecsElapsed() / 1e6, clock.nsecsElapsed() / 1e6);
                std::fflush(stdout);
            }
            return result;
        };
    }
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        for (const auto& window : windows)
            std::printf("screen %lld fps %lld sprites %zu\n", static_cast<long long>(window->screen),
                static_cast<long long>(WindowMainProbe::fps(*window)), WindowMainProbe::sprites(*window).size());
        std::fflush(stdout);
    });
    report.start(1000);
    QTimer::singleShot(seconds * 1000, &app, [&] {
        for (const auto& window : windows)
            window->Close();
        app.quit();
    });
    return app.exec();
}
