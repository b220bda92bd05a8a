#include "platform/qt/WindowWidget.h"

#include "platform/qt/EventBoundary.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMoveEvent>
#include <QResizeEvent>

namespace platform {

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The window decides; its Close() hides and releases this widget.
    event->ignore();
    if (!impl)
        return;
    Window* window = &impl->self;
    qt::Deliver([&] { window->Close(); });
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The size the widget has, not the event's: Qt can deliver an event for
    // an earlier size after the widget took a later one, and then none for
    // the later size.
    if (impl && event->spontaneous())
        impl->ExternalResize(size());
}

void WindowWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (impl && event->spontaneous())
        impl->ExternalMove();
}

void WindowWidget::contextMenuEvent(QContextMenuEvent* event)
{
    if (impl && impl->type == Window::TypePlainBox) {
        impl->PopupContextMenu(event->globalPos());
        event->accept();
        return;
    }
    QWidget::contextMenuEvent(event);
}

QPaintEngine* WindowWidget::paintEngine() const
{
    // Painting on screen is how Qt is told that this widget draws with
    // something else: it asks for no engine and the window gets no raster store.
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QWidget::paintEngine();
}

} // namespace platform
