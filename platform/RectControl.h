#pragma once

#include "platform/Control.h"

#include <cstdint>

namespace platform {

// A control that occupies a rectangle of its window's content area, in pixels
// from the content area's top-left corner. Locked sides keep their distance to
// the window's edges when the window's size changes: with all four locked the
// control always covers the same margins.
class RectControl : public Control {
public:
    ~RectControl() override;

    std::int64_t Left() const;
    std::int64_t Top() const;
    std::int64_t Width() const;
    std::int64_t Height() const;
    void SetLeft(std::int64_t left);
    void SetTop(std::int64_t top);
    void SetWidth(std::int64_t width);
    void SetHeight(std::int64_t height);
    void SetLockLeft(bool lock);
    void SetLockTop(bool lock);
    void SetLockRight(bool lock);
    void SetLockBottom(bool lock);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    struct Impl;

protected:
    explicit RectControl(platform::Window& owner);
    // Gives the control its QWidget (type-erased; framework classes only): it
    // is placed in the owner's content area at the control's rectangle.
    void AttachWidget(void* widget);
    void* NativeWidget() const;

private:
    friend struct WindowAccess;
    std::unique_ptr<Impl> rectImpl_;
};

} // namespace platform
