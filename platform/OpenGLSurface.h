#pragma once

#include "platform/RectControl.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// An OpenGL drawing surface with a compatibility-profile context of its own
// (fixed-function OpenGL 1.x in immediate mode works in it; include
// platform/GL.h). The context is created on first need, from ColorBits,
// DepthBits and DoubleBuffer as they are then (set them in CreateControls);
// it exists and is current when the window's Event_Open and Event_Resized
// run, so matrix set-up done there lands in this context.
//
// Render is raised when the surface must be drawn, with the context current
// and glViewport covering the whole surface in device pixels; nothing else
// touches the context's state, so the matrices stay as the program left them.
// The buffers are swapped after Render returns (not when it threw). The
// Boolean result is accepted and has no further effect.
//
// Texture names are whatever glGenTextures returns: record them.
class OpenGLSurface : public RectControl {
public:
    explicit OpenGLSurface(platform::Window& owner);
    ~OpenGLSurface() override;

    void SetColorBits(std::int64_t bits);
    void SetDepthBits(std::int64_t bits);
    void SetDoubleBuffer(bool doubleBuffer);
    std::int64_t ColorBits() const;
    std::int64_t DepthBits() const;
    bool DoubleBuffer() const;

    // Schedules one repaint; several requests before it is drawn give one Render.
    // eraseBackground has no effect: Render draws every pixel itself.
    void Invalidate(bool eraseBackground = true);

    // Makes the surface's context current (creating it if needed); the framework
    // does this before every event that may issue OpenGL calls.
    void MakeCurrent();

    std::function<bool(OpenGLSurface&)> Render;

    struct Impl;

protected:
    void WindowClosed() override;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
