#include "platform/OpenGLSurface.h"

#include "platform/GL.h"
#include "platform/RuntimeException.h"
#include "platform/Window.h"
#include "platform/qt/EventBoundary.h"
#include "platform/qt/WindowAccess.h"

#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace platform {
namespace {

    // The native window the surface draws into, embedded in the window's content
    // area through QWidget::createWindowContainer.
    class SurfaceWindow : public QWindow {
    public:
        explicit SurfaceWindow(OpenGLSurface::Impl* impl)
            : impl(impl)
        {
            setSurfaceType(QSurface::OpenGLSurface);
        }
        OpenGLSurface::Impl* impl; // none once the surface is closed

    protected:
        bool event(QEvent* event) override;
        void exposeEvent(QExposeEvent* event) override;
        void mousePressEvent(QMouseEvent* event) override;
    };

} // namespace

struct OpenGLSurface::Impl {
    OpenGLSurface& self;
    QPointer<SurfaceWindow> window;
    std::unique_ptr<QOpenGLContext> context;
    std::unique_ptr<QOffscreenSurface> offscreen;
    std::int64_t colorBits = 24, depthBits = 24;
    bool doubleBuffer = true;
    bool closed = false;

    explicit Impl(OpenGLSurface& surface)
        : self(surface)
    {
    }

    QSurfaceFormat Format() const
    {
        QSurfaceFormat format;
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        const int channel = static_cast<int>(std::max<std::int64_t>(0, colorBits) / 3);
        format.setRedBufferSize(channel);
        format.setGreenBufferSize(channel);
        format.setBlueBufferSize(channel);
        format.setDepthBufferSize(static_cast<int>(std::max<std::int64_t>(0, depthBits)));
        format.setSwapBehavior(doubleBuffer ? QSurfaceFormat::DoubleBuffer : QSurfaceFormat::SingleBuffer);
        return format;
    }

    // A native window keeps the format it was created with, so only one not
    // yet created takes the new one.
    void UpdateWindowFormat()
    {
        if (window && !window->handle())
            window->setFormat(Format());
    }

    void EnsureContext()
    {
        if (context || closed)
            return;
        UpdateWindowFormat();
        auto created = std::make_unique<QOpenGLContext>();
        created->setFormat(Format());
        if (!created->create())
            throw RuntimeException("cannot create an OpenGL context");
        offscreen = std::make_unique<QOffscreenSurface>();
        offscreen->setFormat(created->format());
        offscreen->create();
        context = std::move(created);
    }

    bool MakeCurrent()
    {
        if (closed)
            return false;
        EnsureContext();
        // The GL state belongs to the context, so calls made while it is current
        // on the stand-in surface reach the same matrices that Render sees.
        if (window && window->handle())
            return context->makeCurrent(window);
        return context->makeCurrent(offscreen.get());
    }

    void Paint()
    {
        if (closed || !window || !window->isExposed() || !self.OwnerWindow())
            return;
        // The window may be closed and released from inside Render.
        std::shared_ptr<Control> keep = self.weak_from_this().lock();
        bool drawn = false;
        qt::Deliver([&] {
            if (!MakeCurrent())
                return;
            const qreal ratio = window->devicePixelRatio();
            glViewport(0, 0, static_cast<GLsizei>(std::lround(window->width() * ratio)),
                static_cast<GLsizei>(std::lround(window->height() * ratio)));
            // A copy: Render may replace itself while it runs.
            auto render = self.Render;
            if (render)
                render(self);
            drawn = static_cast<bool>(render);
        });
        if (drawn && !closed && window && context)
            context->swapBuffers(window);
    }

    void Close()
    {
        if (closed)
            return;
        closed = true;
        if (window)
            window->impl = nullptr;
        if (context) {
            if (QOpenGLContext::currentContext() == context.get())
                context->doneCurrent();
            context.reset();
        }
        offscreen.reset();
    }
};

namespace {

    bool SurfaceWindow::event(QEvent* event)
    {
        if (event->type() == QEvent::UpdateRequest) {
            if (impl)
                impl->Paint();
            return true;
        }
        return QWindow::event(event);
    }

    void SurfaceWindow::exposeEvent(QExposeEvent*)
    {
        // Paint checks the exposure itself.
        if (impl)
            impl->Paint();
    }

    void SurfaceWindow::mousePressEvent(QMouseEvent* event)
    {
        // The surface covers its window, so the window's context menu opens from here.
        if (impl && event->button() == Qt::RightButton) {
            if (platform::Window* owner = impl->self.OwnerWindow()) {
                auto& window = WindowAccess::Of(*owner);
                if (window.type == platform::Window::TypePlainBox) {
                    window.PopupContextMenu(event->globalPosition().toPoint());
                    event->accept();
                    return;
                }
            }
        }
        QWindow::mousePressEvent(event);
    }

} // namespace

OpenGLSurface::OpenGLSurface(platform::Window& owner)
    : RectControl(owner)
    , impl_(std::make_unique<Impl>(*this))
{
    impl_->window = new SurfaceWindow(impl_.get());
    impl_->UpdateWindowFormat();
    QWidget* container = QWidget::createWindowContainer(impl_->window);
    AttachWidget(container);
}

OpenGLSurface::~OpenGLSurface() { impl_->Close(); }

void OpenGLSurface::SetColorBits(std::int64_t bits)
{
    impl_->colorBits = bits;
    impl_->UpdateWindowFormat();
}

void OpenGLSurface::SetDepthBits(std::int64_t bits)
{
    impl_->depthBits = bits;
    impl_->UpdateWindowFormat();
}

void OpenGLSurface::SetDoubleBuffer(bool doubleBuffer)
{
    impl_->doubleBuffer = doubleBuffer;
    impl_->UpdateWindowFormat();
}

std::int64_t OpenGLSurface::ColorBits() const { return impl_->colorBits; }
std::int64_t OpenGLSurface::DepthBits() const { return impl_->depthBits; }
bool OpenGLSurface::DoubleBuffer() const { return impl_->doubleBuffer; }

void OpenGLSurface::Invalidate(bool)
{
    if (!impl_->closed && impl_->window)
        impl_->window->requestUpdate();
}

void OpenGLSurface::MakeCurrent()
{
    if (!impl_->MakeCurrent() && !impl_->closed)
        throw RuntimeException("cannot make the OpenGL context current");
}

void OpenGLSurface::WindowClosed()
{
    RectControl::WindowClosed();
    impl_->Close();
}

} // namespace platform
