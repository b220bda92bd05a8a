#include "platform/qt/Conversions.h"

namespace platform::qt {

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QColor ToQtColor(std::uint32_t color)
{
    return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, 255 - ((color >> 24) & 0xFF));
}

std::string FromQt(const QString& text) { return text.toStdString(); }

} // namespace platform::qt
