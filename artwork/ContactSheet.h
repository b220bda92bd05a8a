#pragma once

#include <QString>

// One picture with every frame in order, each with its number, for reviewing
// the artwork and its motion at a glance.
class ContactSheet {
public:
    static constexpr int thumbnail = 96;
    static constexpr int columns = 16;

    // Throws platform::IOException when the file cannot be written.
    static void write(const QString& file);
};
