#pragma once

#include <QImage>
#include <QString>

// The 163 pictures in their fixed order: toaster frames 0 to 130, police
// frames 0 to 29, the toast and the burnt toast.
class ArtworkFrames {
public:
    static constexpr int count = 163;
    static constexpr int size = 256;

    static QString fileName(int frame);
    // Square, transparent around the sprite, not premultiplied.
    static QImage render(int frame);
    // Writes every picture into folder; throws platform::IOException on failure.
    static void writeAll(const QString& folder);
};
