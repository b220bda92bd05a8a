#include "platform/CheckBox.h"

#include "platform/qt/Conversions.h"
#include "platform/qt/EventBoundary.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace platform {

CheckBox::CheckBox(platform::Window& owner)
    : RectControl(owner)
{
    auto* box = new QCheckBox;
    AttachWidget(box);
    // clicked is the user's toggle only; changes made by code raise Action in SetValue.
    QObject::connect(box, &QCheckBox::clicked, box, [this] {
        std::shared_ptr<Control> keep = weak_from_this().lock();
        qt::Deliver([&] {
            auto action = Action;
            if (action)
                action(*this);
        });
    });
}

CheckBox::~CheckBox()
{
    // The box is deleted later than this control, by the event loop: a click
    // already queued for it must not reach the control.
    if (auto* box = static_cast<QCheckBox*>(NativeWidget()))
        QObject::disconnect(box, &QCheckBox::clicked, box, nullptr);
}

std::string CheckBox::Caption() const
{
    auto* box = static_cast<QCheckBox*>(NativeWidget());
    return box ? qt::FromQt(box->text()) : std::string();
}

void CheckBox::SetCaption(const std::string& caption)
{
    if (auto* box = static_cast<QCheckBox*>(NativeWidget()))
        box->setText(qt::ToQt(caption));
}

bool CheckBox::Value() const
{
    auto* box = static_cast<QCheckBox*>(NativeWidget());
    return box && box->isChecked();
}

void CheckBox::SetValue(bool value)
{
    auto* box = static_cast<QCheckBox*>(NativeWidget());
    if (!box || box->isChecked() == value)
        return;
    {
        const QSignalBlocker blocker(box);
        box->setChecked(value);
    }
    auto action = Action;
    if (action)
        action(*this);
}

} // namespace platform
