#include "platform/Label.h"

#include "platform/qt/Conversions.h"

#include <QLabel>

namespace platform {

Label::Label(platform::Window& owner)
    : RectControl(owner)
{
    AttachWidget(new QLabel);
}

std::string Label::Text() const
{
    auto* label = static_cast<QLabel*>(NativeWidget());
    return label ? qt::FromQt(label->text()) : std::string();
}

void Label::SetText(const std::string& text)
{
    if (auto* label = static_cast<QLabel*>(NativeWidget()))
        label->setText(qt::ToQt(text));
}

void Label::SetTextColor(std::uint32_t color)
{
    auto* label = static_cast<QLabel*>(NativeWidget());
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, qt::ToQtColor(color));
    label->setPalette(palette);
}

} // namespace platform
