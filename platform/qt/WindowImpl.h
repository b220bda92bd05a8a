#pragma once

// The implementation behind platform::Window, for the framework's own sources.

#include "platform/Window.h"
#include "platform/qt/ControlRegistry.h"
#include "platform/qt/WindowMenus.h"

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
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

    // The top-level widget, and its content area beneath the menu bar if any.
    QPointer<WindowWidget> widget;
    QPointer<QWidget> content;
    qt::WindowMenus menus;

    // The content area in global coordinates.
    std::int64_t left = 0, top = 0, width = 300, height = 300;
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
    qt::ControlRegistry controls;
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

} // namespace platform
