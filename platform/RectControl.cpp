#include "platform/RectControl.h"

#include "platform/Window.h"
#include "platform/qt/WindowAccess.h"

#include <algorithm>

namespace platform {
namespace {
    int toInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, -1000000000, 1000000000)); }
} // namespace

void RectControl::Impl::Apply()
{
    if (!widget)
        return;
    widget->setGeometry(
        toInt(left), toInt(top), toInt(std::max<std::int64_t>(0, width)), toInt(std::max<std::int64_t>(0, height)));
    widget->setEnabled(enabled);
    widget->setVisible(visible);
}

RectControl::RectControl(platform::Window& owner)
    : Control(owner)
    , rectImpl_(std::make_unique<Impl>())
{
    rectImpl_->parent = WindowAccess::Of(owner).content;
}

RectControl::~RectControl()
{
    if (rectImpl_->widget)
        rectImpl_->widget->deleteLater();
}

void RectControl::AttachWidget(void* widget)
{
    rectImpl_->widget = static_cast<QWidget*>(widget);
    if (rectImpl_->widget && rectImpl_->parent)
        rectImpl_->widget->setParent(rectImpl_->parent);
    rectImpl_->Apply();
}

void* RectControl::NativeWidget() const { return rectImpl_->widget.data(); }

std::int64_t RectControl::Left() const { return rectImpl_->left; }
std::int64_t RectControl::Top() const { return rectImpl_->top; }
std::int64_t RectControl::Width() const { return rectImpl_->width; }
std::int64_t RectControl::Height() const { return rectImpl_->height; }

void RectControl::SetLeft(std::int64_t left)
{
    rectImpl_->left = left;
    rectImpl_->Apply();
}

void RectControl::SetTop(std::int64_t top)
{
    rectImpl_->top = top;
    rectImpl_->Apply();
}

void RectControl::SetWidth(std::int64_t width)
{
    rectImpl_->width = std::max<std::int64_t>(0, width);
    rectImpl_->Apply();
}

void RectControl::SetHeight(std::int64_t height)
{
    rectImpl_->height = std::max<std::int64_t>(0, height);
    rectImpl_->Apply();
}

void RectControl::SetLockLeft(bool lock) { rectImpl_->lockLeft = lock; }
void RectControl::SetLockTop(bool lock) { rectImpl_->lockTop = lock; }
void RectControl::SetLockRight(bool lock) { rectImpl_->lockRight = lock; }
void RectControl::SetLockBottom(bool lock) { rectImpl_->lockBottom = lock; }

bool RectControl::Visible() const { return rectImpl_->visible; }

void RectControl::SetVisible(bool visible)
{
    rectImpl_->visible = visible;
    rectImpl_->Apply();
}

bool RectControl::Enabled() const { return rectImpl_->enabled; }

void RectControl::SetEnabled(bool enabled)
{
    rectImpl_->enabled = enabled;
    rectImpl_->Apply();
}

} // namespace platform
