#pragma once

// Texts and colours between the program's types and Qt's.

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>

namespace platform::qt {

QString ToQt(const std::string& text);
std::string FromQt(const QString& text);
// A colour as &hAARRGGBB, AA counting transparency (0 opaque).
QColor ToQtColor(std::uint32_t color);

} // namespace platform::qt
