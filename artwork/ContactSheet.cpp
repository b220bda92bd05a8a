#include "artwork/ContactSheet.h"

#include "artwork/ArtworkFrames.h"
#include "platform/RuntimeException.h"

#include <QFont>
#include <QImage>
#include <QPainter>

void ContactSheet::write(const QString& file)
{
    const int label = 14;
    const int cell = thumbnail + 4;
    const int rows = (ArtworkFrames::count + columns - 1) / columns;
    QImage sheet(columns * cell, rows * (cell + label), QImage::Format_RGB32);
    // Black, like the desktop the sprites fly over.
    sheet.fill(QColor(0, 0, 0));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    for (int frame = 0; frame < ArtworkFrames::count; ++frame) {
        const int x = frame % columns * cell;
        const int y = frame / columns * (cell + label);
        painter.setPen(QColor(48, 48, 48));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(x, y, cell - 1, cell + label - 1);
        const QImage picture = ArtworkFrames::render(frame).scaled(
            thumbnail, thumbnail, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(x + 2, y + 2, picture);
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(QRect(x, y + cell - 2, cell, label), Qt::AlignCenter, QString::number(frame));
    }
    painter.end();
    if (!sheet.save(file, "PNG"))
        throw platform::IOException("cannot write " + file.toStdString());
}
