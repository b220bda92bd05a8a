#pragma once

// The implementation behind platform::RectControl, for the framework's own sources.

#include "platform/RectControl.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace platform {

struct RectControl::Impl {
    QPointer<QWidget> widget;
    QPointer<QWidget> parent;
    std::int64_t left = 0, top = 0, width = 100, height = 100;
    bool lockLeft = true, lockTop = true, lockRight = false, lockBottom = false;
    bool visible = true, enabled = true;
    void Apply();
};

} // namespace platform
