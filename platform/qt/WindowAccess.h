#pragma once

// Private access to the framework objects' implementation, for the framework's
// own sources only.

#include "platform/Control.h"
#include "platform/RectControl.h"
#include "platform/Window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <map>
#include <vector>

namespace platform {

class WindowWidget;

struct Window::Impl {
    enum class State { Building, Constructed, Open, Closed };

    explicit Impl(Window& window);

    Window& self;
    // Expires when the window object starts being destroyed; controls and
    // queued calls hold it weakly to know whether their window still exists.
    std::shared_ptr<int> alive = std::make_shared<int>(0);
    State state = State::Building;

    QPointer<WindowWidget> top;
    QPointer<QWidget> content;
    QPointer<QMenuBar> menuBar;
    QPointer<QMenu> menu; // holds the actions when there is no visible menu bar
    std::vector<QPointer<QAction>> actions;
    int menuBarHeight = 0;

    std::int64_t left = 0, topEdge = 0, width = 300, height = 300;
    std::int64_t minWidth = 64, minHeight = 64, maxWidth = 32000, maxHeight = 32000;
    std::int64_t type = Window::TypeDocument;
    bool hasCloseButton = true, hasMaximizeButton = true, hasMinimizeButton = true, hasFullScreenButton = false;
    bool resizeable = true;
    bool visible = true;
    bool menuBarVisible = true;
    bool hasBackgroundColor = false;
    std::uint32_t backgroundColor = 0x00FFFFFF;
    std::shared_ptr<platform::MenuBar> bar;
    std::map<std::string, std::function<bool()>> handlers;
    std::vector<std::shared_ptr<Control>> controls;
    // Sizes of the top-level widget requested while it was visible, whose
    // reports from the window system are still to come.
    std::vector<QSize> pendingSizes;

    void ApplyFlags();
    void ApplyGeometry();
    // Places the menu bar and the content area inside the top-level widget.
    void PlaceChildren();
    void ApplyBackground();
    void SetSize(std::int64_t newWidth, std::int64_t newHeight);
    void LayoutControls(std::int64_t dw, std::int64_t dh);
    void RaiseResized(bool external);
    void MakeSurfaceCurrent();
    // Lets the top-level widget go without a raster backing store while an
    // OpenGL surface covers the whole window.
    void UpdateRasterStore();
    void BuildMenus();
    // BuildMenus and ApplyGeometry, once the window is constructed.
    void RebuildMenus();
    void OpenNow();
    void Teardown(bool immediately);
    void PopupContextMenu(const QPoint& globalPosition);
    void ExternalResize(const QSize& size);
    void ExternalMove();
};

// The top-level QWidget of a Window: its content area (and a titled window's
// menu bar above it) are children placed by Window::Impl.
class WindowWidget : public QWidget {
public:
    explicit WindowWidget(Window::Impl* impl)
        : impl(impl)
    {
    }
    Window::Impl* impl; // none once the window has let go of the widget

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QPaintEngine* paintEngine() const override;
};

struct RectControl::Impl {
    QPointer<QWidget> widget;
    QPointer<QWidget> parent;
    std::int64_t left = 0, top = 0, width = 100, height = 100;
    bool lockLeft = true, lockTop = true, lockRight = false, lockBottom = false;
    bool visible = true, enabled = true;
    void Apply();
};

struct WindowAccess {
    static Window::Impl& Of(Window& window) { return *window.impl_; }
    static RectControl::Impl& Of(RectControl& control) { return *control.rectImpl_; }
    static void WindowClosed(Control& control) { control.WindowClosed(); }
    static void Register(Control& control, const std::string& name) { control.name_ = name; }
    static bool BelongsTo(const Control& control, const Window& window) { return control.owner_ == &window; }
};

} // namespace platform
