#include "platform/Window.h"

#include "platform/Application.h"
#include "platform/MenuBar.h"
#include "platform/OpenGLSurface.h"
#include "platform/Runtime.h"
#include "platform/qt/Conversions.h"
#include "platform/qt/EventBoundary.h"
#include "platform/qt/MenuChoice.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/WindowAccess.h"
#include "platform/qt/WindowRegistry.h"
#include "platform/qt/WindowWidget.h"
#include "platform/x11/X11Workspace.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

    std::int64_t clampSize(std::int64_t value, std::int64_t low, std::int64_t high)
    {
        return std::max(low, std::min(value, std::max(low, high)));
    }

    std::int64_t truncated(double value)
    {
        if (!std::isfinite(value))
            throw OutOfBoundsException("window bounds must be finite numbers");
        // Far beyond any screen; keeps the conversion defined.
        return static_cast<std::int64_t>(std::trunc(std::clamp(value, -1e9, 1e9)));
    }

    int toInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, -1000000000, 1000000000)); }

} // namespace

// --- Window::Impl ---

Window::Impl::Impl(Window& window)
    : self(window)
{
    qt::EnsureApplication();
    widget = new WindowWidget(this);
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    content = new QWidget(widget);
    ApplyFlags();
    ApplyGeometry();
}

void Window::Impl::ApplyFlags()
{
    if (!widget)
        return;
    Qt::WindowFlags flags = Qt::Window;
    if (type == Window::TypePlainBox) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
        if (hasCloseButton)
            flags |= Qt::WindowCloseButtonHint;
        if (hasMinimizeButton)
            flags |= Qt::WindowMinimizeButtonHint;
        if (hasMaximizeButton && resizeable)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (widget->windowFlags() == flags)
        return;
    // setWindowFlags on a created widget would recreate its X window and lose
    // what was set on it; once native, change the flags on its QWindow.
    if (widget->testAttribute(Qt::WA_WState_Created) && widget->windowHandle())
        widget->windowHandle()->setFlags(flags);
    else
        widget->setWindowFlags(flags);
}

void Window::Impl::ApplyGeometry()
{
    if (!widget)
        return;
    const int mb = menus.MenuBarHeight();
    const QRect client(toInt(left), toInt(top - mb), toInt(width), toInt(height + mb));
    if (widget->isVisible() && widget->size() != client.size()) {
        pendingSizes.push_back(client.size());
        if (pendingSizes.size() > 32)
            pendingSizes.erase(pendingSizes.begin());
    }
    widget->setMinimumSize(0, 0);
    widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget->setGeometry(client);
    if (resizeable) {
        widget->setMinimumSize(toInt(minWidth), toInt(minHeight + mb));
        widget->setMaximumSize(toInt(std::min<std::int64_t>(maxWidth, QWIDGETSIZE_MAX)),
            toInt(std::min<std::int64_t>(maxHeight + mb, QWIDGETSIZE_MAX)));
    } else {
        widget->setFixedSize(client.size());
    }
    PlaceChildren();
}

void Window::Impl::PlaceChildren()
{
    menus.PlaceMenuBar(toInt(width));
    if (content)
        content->setGeometry(0, menus.MenuBarHeight(), toInt(width), toInt(height));
}

void Window::Impl::ApplyBackground()
{
    if (!content)
        return;
    content->setAutoFillBackground(hasBackgroundColor);
    if (hasBackgroundColor) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, qt::ToQtColor(backgroundColor));
        content->setPalette(palette);
    }
}

void Window::Impl::SetSize(std::int64_t newWidth, std::int64_t newHeight)
{
    newWidth = clampSize(newWidth, minWidth, maxWidth);
    newHeight = clampSize(newHeight, minHeight, maxHeight);
    const std::int64_t dw = newWidth - width, dh = newHeight - height;
    width = newWidth;
    height = newHeight;
    ApplyGeometry();
    if (dw == 0 && dh == 0)
        return;
    LayoutControls(dw, dh);
    UpdateRasterStore();
    RaiseResized(false);
}

void Window::Impl::LayoutControls(std::int64_t dw, std::int64_t dh)
{
    for (auto& control : controls) {
        auto* rect = dynamic_cast<RectControl*>(control.get());
        if (!rect)
            continue;
        auto& r = WindowAccess::Of(*rect);
        if (r.lockLeft && r.lockRight)
            r.width = std::max<std::int64_t>(0, r.width + dw);
        else if (r.lockRight)
            r.left += dw;
        if (r.lockTop && r.lockBottom)
            r.height = std::max<std::int64_t>(0, r.height + dh);
        else if (r.lockBottom)
            r.top += dh;
        r.Apply();
    }
}

void Window::Impl::RaiseResized(bool external)
{
    // The design values set while the window is built are not size changes.
    if (state == State::Building || state == State::Closed)
        return;
    // Making the context current may create it, which can throw: for a change
    // from outside, that happens inside the event boundary.
    if (external) {
        qt::Deliver([&] {
            MakeSurfaceCurrent();
            self.Event_Resizing();
            self.Event_Resized();
        });
    } else {
        MakeSurfaceCurrent();
        self.Event_Resized();
    }
}

void Window::Impl::MakeSurfaceCurrent()
{
    for (auto& control : controls) {
        if (auto* surface = dynamic_cast<OpenGLSurface*>(control.get())) {
            surface->MakeCurrent();
            return;
        }
    }
}

void Window::Impl::UpdateRasterStore()
{
    // The surface is a native child window drawn by OpenGL; where it covers
    // the window, nothing Qt would paint beneath it can show, and a raster
    // store of the window's size (8 MB at 1920 x 1080) would only sit there.
    if (state != State::Open || !widget || !content)
        return;
    bool covered = false;
    if (menus.MenuBarHeight() == 0) {
        const QRect area = content->rect();
        for (auto& control : controls) {
            auto* surface = dynamic_cast<OpenGLSurface*>(control.get());
            if (!surface)
                continue;
            const auto& r = WindowAccess::Of(*surface);
            const QRect bounds(toInt(r.left), toInt(r.top), toInt(r.width), toInt(r.height));
            if (r.widget && r.visible && bounds.contains(area))
                covered = true;
        }
    }
    if (widget->testAttribute(Qt::WA_PaintOnScreen) == covered)
        return;
    widget->setAttribute(Qt::WA_PaintOnScreen, covered);
    // What is no longer covered is painted the usual way, through a store.
    if (!covered)
        widget->update();
}

void Window::Impl::BuildMenus()
{
    if (!widget)
        return;
    std::shared_ptr<platform::MenuBar> effective = bar;
    if (!effective) {
        if (auto app = GetAppObject())
            effective = app->MenuBar();
    }
    std::weak_ptr<int> weakAlive = alive;
    Window* window = &self;
    auto choose = [weakAlive, window](const std::shared_ptr<MenuItem>& item) {
        if (weakAlive.expired())
            return;
        qt::Deliver([&] { qt::Choose(item, window); });
    };
    // Only a titled window with a bar of its own shows it; others offer it on a right click.
    const bool asMenuBar = type == Window::TypeDocument && menuBarVisible && bar;
    menus.Build(*widget, effective.get(), asMenuBar, choose);
}

void Window::Impl::RebuildMenus()
{
    // Constructor() builds them once the design values are all set.
    if (state == State::Building)
        return;
    BuildMenus();
    ApplyGeometry();
    UpdateRasterStore();
}

void Window::Impl::PopupContextMenu(const QPoint& globalPosition)
{
    if (state == State::Open)
        menus.PopupContextMenu(globalPosition);
}

void Window::Impl::OpenNow()
{
    if (state != State::Constructed || qt::EventsStopped())
        return;
    state = State::Open;
    if (auto shared = self.weak_from_this().lock())
        qt::KeepOpen(std::move(shared));
    ApplyGeometry();
    UpdateRasterStore();
    widget->winId(); // the native window exists from here on
    MakeSurfaceCurrent();
    qt::Deliver([&] { self.Event_Open(); });
    if (state == State::Open && visible && widget && !qt::EventsStopped())
        widget->show();
}

void Window::Impl::ExternalResize(const QSize& size)
{
    if (state != State::Open)
        return;
    auto pending = std::find(pendingSizes.begin(), pendingSizes.end(), size);
    if (pending != pendingSizes.end()) {
        // The window system reporting a size we asked for, possibly an
        // earlier one than the last: not a change of ours to report.
        pendingSizes.erase(pendingSizes.begin(), pending + 1);
        return;
    }
    pendingSizes.clear();
    const std::int64_t newWidth = size.width();
    const std::int64_t newHeight = std::max(0, size.height() - menus.MenuBarHeight());
    const std::int64_t dw = newWidth - width, dh = newHeight - height;
    if (dw == 0 && dh == 0)
        return;
    width = newWidth;
    height = newHeight;
    // The window system has sized the top-level widget already.
    PlaceChildren();
    LayoutControls(dw, dh);
    UpdateRasterStore();
    RaiseResized(true);
}

void Window::Impl::ExternalMove()
{
    if (state != State::Open || !widget)
        return;
    const QRect g = widget->geometry();
    left = g.x();
    top = g.y() + menus.MenuBarHeight();
}

void Window::Impl::Teardown(bool immediately)
{
    for (auto& control : controls)
        WindowAccess::WindowClosed(*control);
    menus.Release();
    if (widget) {
        widget->impl = nullptr;
        widget->hide();
        if (immediately)
            delete widget.data();
        else
            widget->deleteLater();
    }
}

// --- Window ---

Window::Window()
    : impl_(std::make_unique<Impl>(*this))
{
    qt::RegisterLiveWindow(this);
}

Window::~Window()
{
    impl_->alive.reset();
    qt::UnregisterLiveWindow(this);
    if (impl_->state != Impl::State::Closed) {
        impl_->state = Impl::State::Closed;
        impl_->Teardown(false);
    }
}

void Window::Constructor()
{
    if (impl_->state != Impl::State::Building)
        throw RuntimeException("window constructed twice");
    Layout();
    CreateControls();
    AddMenuHandlers(*this);
    impl_->BuildMenus();
    impl_->ApplyGeometry();
    impl_->state = Impl::State::Constructed;
    std::weak_ptr<int> weakAlive = impl_->alive;
    Impl* impl = impl_.get();
    QTimer::singleShot(0, qApp, [weakAlive, impl] {
        if (weakAlive.expired())
            return;
        try {
            impl->OpenNow();
        } catch (...) {
            RuntimeUnhandledException(std::current_exception());
        }
    });
}

void Window::SetWidth(std::int64_t width) { impl_->SetSize(width, impl_->height); }
void Window::SetHeight(std::int64_t height) { impl_->SetSize(impl_->width, height); }

void Window::SetMinimumWidth(std::int64_t width)
{
    impl_->minWidth = std::max<std::int64_t>(0, width);
    impl_->SetSize(impl_->width, impl_->height);
}

void Window::SetMinimumHeight(std::int64_t height)
{
    impl_->minHeight = std::max<std::int64_t>(0, height);
    impl_->SetSize(impl_->width, impl_->height);
}

void Window::SetMaximumWidth(std::int64_t width)
{
    impl_->maxWidth = std::max<std::int64_t>(0, width);
    impl_->SetSize(impl_->width, impl_->height);
}

void Window::SetMaximumHeight(std::int64_t height)
{
    impl_->maxHeight = std::max<std::int64_t>(0, height);
    impl_->SetSize(impl_->width, impl_->height);
}

std::int64_t Window::MinimumWidth() const { return impl_->minWidth; }
std::int64_t Window::MinimumHeight() const { return impl_->minHeight; }
std::int64_t Window::MaximumWidth() const { return impl_->maxWidth; }
std::int64_t Window::MaximumHeight() const { return impl_->maxHeight; }

void Window::SetType(std::int64_t type)
{
    if (type != TypeDocument && type != TypePlainBox)
        throw OutOfBoundsException("unsupported window type " + std::to_string(type));
    impl_->type = type;
    impl_->ApplyFlags();
    impl_->RebuildMenus();
}

std::int64_t Window::Type() const { return impl_->type; }

void Window::SetTitle(const std::string& title)
{
    if (impl_->widget)
        impl_->widget->setWindowTitle(qt::ToQt(title));
}

std::string Window::Title() const { return impl_->widget ? qt::FromQt(impl_->widget->windowTitle()) : std::string(); }

void Window::SetHasCloseButton(bool has)
{
    impl_->hasCloseButton = has;
    impl_->ApplyFlags();
}

void Window::SetHasMaximizeButton(bool has)
{
    impl_->hasMaximizeButton = has;
    impl_->ApplyFlags();
}

void Window::SetHasMinimizeButton(bool has)
{
    impl_->hasMinimizeButton = has;
    impl_->ApplyFlags();
}

void Window::SetHasFullScreenButton(bool has) { impl_->hasFullScreenButton = has; }

void Window::SetResizeable(bool resizeable)
{
    impl_->resizeable = resizeable;
    impl_->ApplyFlags();
    impl_->ApplyGeometry();
}

bool Window::Resizeable() const { return impl_->resizeable; }

void Window::SetDefaultLocation(std::int64_t location)
{
    if (location != LocationDefault && location != LocationMainScreen)
        throw OutOfBoundsException("unsupported window location " + std::to_string(location));
    if (location == LocationMainScreen) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            impl_->left = area.x() + (area.width() - impl_->width) / 2;
            impl_->top = area.y() + (area.height() - impl_->height) / 2;
            impl_->ApplyGeometry();
        }
    }
}

void Window::SetVisible(bool visible)
{
    impl_->visible = visible;
    if (impl_->state == Impl::State::Open && impl_->widget)
        impl_->widget->setVisible(visible);
}

bool Window::Visible() const { return impl_->visible; }

void Window::SetMenuBarVisible(bool visible)
{
    impl_->menuBarVisible = visible;
    impl_->RebuildMenus();
}

bool Window::MenuBarVisible() const { return impl_->menuBarVisible; }

void Window::SetHasBackgroundColor(bool has)
{
    impl_->hasBackgroundColor = has;
    impl_->ApplyBackground();
}

void Window::SetBackgroundColor(std::uint32_t color)
{
    impl_->backgroundColor = color;
    impl_->ApplyBackground();
}

void Window::SetMenuBar(std::shared_ptr<platform::MenuBar> bar)
{
    impl_->bar = std::move(bar);
    impl_->RebuildMenus();
}

std::shared_ptr<platform::MenuBar> Window::MenuBar() const { return impl_->bar; }

std::int64_t Window::Left() const { return impl_->left; }
std::int64_t Window::Top() const { return impl_->top; }
std::int64_t Window::Width() const { return impl_->width; }
std::int64_t Window::Height() const { return impl_->height; }

void Window::SetLeft(std::int64_t left)
{
    impl_->left = left;
    impl_->ApplyGeometry();
}

void Window::SetTop(std::int64_t top)
{
    impl_->top = top;
    impl_->ApplyGeometry();
}

Rect Window::Bounds() const
{
    return { static_cast<double>(impl_->left), static_cast<double>(impl_->top), static_cast<double>(impl_->width),
        static_cast<double>(impl_->height) };
}

void Window::SetBounds(const Rect& bounds)
{
    const std::int64_t left = truncated(bounds.Left), top = truncated(bounds.Top);
    const std::int64_t width = truncated(bounds.Width), height = truncated(bounds.Height);
    impl_->left = left;
    impl_->top = top;
    impl_->SetSize(width, height);
}

std::int64_t Window::Handle() const
{
    if (impl_->state == Impl::State::Closed || !impl_->widget)
        return 0;
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(impl_->widget.data()));
}

void Window::Show()
{
    impl_->visible = true;
    if (impl_->state != Impl::State::Open || !impl_->widget)
        return;
    // Raised and activated on another workspace, the window stays out of sight.
    X11Workspace::MoveToCurrent(*impl_->widget);
    // Neither show, raise nor activateWindow brings back a minimised window:
    // clearing the state maps it again, and the activation follows the map.
    if (impl_->widget->isMinimized())
        impl_->widget->setWindowState(impl_->widget->windowState() & ~Qt::WindowMinimized);
    impl_->widget->show();
    impl_->widget->raise();
    impl_->widget->activateWindow();
}

void Window::Close()
{
    if (impl_->state == Impl::State::Closed)
        return;
    impl_->state = Impl::State::Closed;
    // The Close event may drop the last other reference to this window.
    std::shared_ptr<Window> keep = weak_from_this().lock();
    struct Finish {
        Window& window;
        ~Finish()
        {
            window.impl_->Teardown(false);
            qt::ReleaseOpen(&window);
        }
    } finish { *this };
    Event_Close();
}

bool Window::IsClosed() const { return impl_->state == Impl::State::Closed; }

void Window::AddMenuHandler(const std::string& itemName, std::function<bool()> handler)
{
    impl_->handlers[itemName] = std::move(handler);
}

std::function<bool()> Window::MenuHandler(const std::string& itemName) const
{
    auto it = impl_->handlers.find(itemName);
    return it == impl_->handlers.end() ? std::function<bool()> {} : it->second;
}

void Window::AddControl(const std::string& name, std::shared_ptr<Control> control)
{
    if (!control)
        throw NilObjectException("nil control");
    if (!WindowAccess::BelongsTo(*control, *this))
        throw RuntimeException("control \"" + name + "\" was made for another window");
    Control& added = *control;
    impl_->controls.Add(name, std::move(control));
    WindowAccess::Register(added, name);
}

std::shared_ptr<Control> Window::FindControl(const std::string& name) const { return impl_->controls.Find(name); }

std::shared_ptr<Control> Window::FindControl(const std::string& name, std::int64_t index) const
{
    return impl_->controls.Find(name, index);
}

std::size_t Window::ControlCount() const { return impl_->controls.Count(); }

std::shared_ptr<Control> Window::ControlAt(std::size_t position) const { return impl_->controls.At(position); }

} // namespace platform
