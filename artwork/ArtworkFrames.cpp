#include "artwork/ArtworkFrames.h"

#include "artwork/Motion.h"
#include "artwork/ToastPainter.h"
#include "artwork/ToasterPainter.h"
#include "platform/RuntimeException.h"

#include <QDir>
#include <QPainter>

namespace {
constexpr int policeFirst = Motion::toasterFrames;
constexpr int toastFrame = policeFirst + Motion::policeFrames;
constexpr int burntFrame = toastFrame + 1;
}

QString ArtworkFrames::fileName(int frame)
{
    if (frame < policeFirst)
        return QStringLiteral("toaster_%1.png").arg(frame, 4, 10, QChar('0'));
    if (frame < toastFrame)
        return QStringLiteral("police_%1.png").arg(frame - policeFirst, 4, 10, QChar('0'));
    return frame == toastFrame ? QStringLiteral("toast.png") : QStringLiteral("toast-burnt.png");
}

QImage ArtworkFrames::render(int frame)
{
    // Painted premultiplied, which the raster engine blends fastest, and
    // handed out straight, the form the picture files keep.
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (frame < policeFirst) {
            ToasterPainter(ToasterPainter::Livery::Chrome).paint(painter, Motion::toaster(frame));
        } else if (frame < toastFrame) {
            const int police = frame - policeFirst;
            ToasterPainter(ToasterPainter::Livery::Police)
                .paint(painter, Motion::police(police), Motion::policeRed(police));
        } else {
            ToastPainter(frame == burntFrame).paint(painter);
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

void ArtworkFrames::writeAll(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw platform::IOException("cannot create the folder " + folder.toStdString());
    const QDir dir(folder);
    for (int frame = 0; frame < count; ++frame) {
        const QString path = dir.filePath(fileName(frame));
        if (!render(frame).save(path, "PNG"))
            throw platform::IOException("cannot write " + path.toStdString());
    }
}
