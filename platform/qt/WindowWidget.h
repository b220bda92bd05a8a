#pragma once

#include "platform/qt/WindowImpl.h"

#include <QWidget>

namespace platform {

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

} // namespace platform
