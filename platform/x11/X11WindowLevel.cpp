#include "platform/x11/X11WindowLevel.h"

#include "platform/x11/Xcb.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {

namespace {

    constexpr std::uint32_t netWmStateRemove = 0;
    constexpr std::uint32_t netWmStateAdd = 1;
    const char* const keeperName = "quill-window-level";
    constexpr qint64 remapPatience = 2000; // milliseconds

    struct Atoms {
        xcb_atom_t wmState, wmDesktop, currentDesktop;
        // The states a desktop window carries.
        std::array<xcb_atom_t, 4> desktopStates;
    };

    Atoms internAtoms(xcb_connection_t* c)
    {
        static constexpr std::array names { "_NET_WM_STATE", "_NET_WM_DESKTOP", "_NET_CURRENT_DESKTOP",
            "_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" };
        std::array<xcb_intern_atom_cookie_t, names.size()> cookies;
        for (std::size_t i = 0; i < names.size(); ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
        std::array<xcb_atom_t, names.size()> atoms;
        for (std::size_t i = 0; i < names.size(); ++i) {
            xcb::Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
            atoms[i] = reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
        }
        return { atoms[0], atoms[1], atoms[2], { atoms[3], atoms[4], atoms[5], atoms[6] } };
    }

    std::vector<xcb_atom_t> readAtoms(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property)
    {
        xcb::Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, 1024), nullptr));
        if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
            return {};
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        return { data, data + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t) };
    }

    // An unmapped window announces its states through its own properties;
    // the window manager reads them when the window is mapped.
    void writeUnmappedHints(xcb_connection_t* c, xcb_window_t window, const Atoms& atoms, bool desktop)
    {
        std::vector<xcb_atom_t> states = readAtoms(c, window, atoms.wmState);
        for (xcb_atom_t state : atoms.desktopStates) {
            auto at = std::find(states.begin(), states.end(), state);
            if (desktop && at == states.end())
                states.push_back(state);
            else if (!desktop && at != states.end())
                states.erase(at);
        }
        if (states.empty())
            xcb_delete_property(c, window, atoms.wmState);
        else
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atoms.wmState, XCB_ATOM_ATOM, 32,
                static_cast<std::uint32_t>(states.size()), states.data());
        if (desktop)
            xcb_change_property(
                c, XCB_PROP_MODE_REPLACE, window, atoms.wmDesktop, XCB_ATOM_CARDINAL, 32, 1, &xcb::AllDesktops);
        else
            xcb_delete_property(c, window, atoms.wmDesktop);
    }

    // A mapped window asks the window manager, which owns its state then.
    void requestMappedHints(xcb_connection_t* c, xcb_window_t window, const Atoms& atoms, bool desktop)
    {
        const xcb_window_t root = xcb::RootOf(c, window);
        if (root == XCB_WINDOW_NONE)
            return;
        const std::uint32_t action = desktop ? netWmStateAdd : netWmStateRemove;
        const auto& s = atoms.desktopStates;
        xcb::SendToRoot(c, root, window, atoms.wmState, { action, s[0], s[1], xcb::SourceApplication, 0 });
        xcb::SendToRoot(c, root, window, atoms.wmState, { action, s[2], s[3], xcb::SourceApplication, 0 });
        const std::uint32_t workspace
            = desktop ? xcb::AllDesktops : xcb::ReadCardinal(c, root, atoms.currentDesktop).value_or(0);
        xcb::SendToRoot(c, root, window, atoms.wmDesktop, { workspace, xcb::SourceApplication, 0, 0, 0 });
    }

    void lowerWindow(xcb_connection_t* c, xcb_window_t window)
    {
        const std::uint32_t below = XCB_STACK_MODE_BELOW;
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &below);
    }

    // Whether a window manager has let go of the unmapped window: ICCCM has it
    // drop WM_STATE or set it to Withdrawn, and a reparenting manager hands
    // the window back to the root first.
    bool withdrawn(xcb_connection_t* c, xcb_window_t window)
    {
        xcb::Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree)
            return true;
        if (tree->parent != tree->root)
            return false;
        const char name[] = "WM_STATE";
        xcb::Reply<xcb_intern_atom_reply_t> wmState(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr));
        if (!wmState || wmState->atom == XCB_ATOM_NONE)
            return true;
        xcb::Reply<xcb_get_property_reply_t> state(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, wmState->atom, wmState->atom, 0, 1), nullptr));
        constexpr std::uint32_t withdrawnState = 0;
        return !state || state->value_len < 1
            || *static_cast<const std::uint32_t*>(xcb_get_property_value(state.get())) == withdrawnState;
    }

    // Lives as a child of a widget, one per widget, and gives the widget's
    // native window the hints of its level each time it is shown. For the
    // desktop level it stays as long as the widget: a window manager forgets a
    // window's states when it is unmapped, and without a window manager
    // nothing keeps the window at the bottom but lowering it again. For the
    // normal level it clears the desktop hints over one map and then goes.
    // A level change on a keeper that is still waiting to map its window
    // again only changes the level that the map will carry.
    class LevelKeeper : public QObject {
    public:
        LevelKeeper(QWidget& window, bool desktop)
            : QObject(&window)
            , window_(&window)
            , desktop_(desktop)
        {
            setObjectName(keeperName);
            window.installEventFilter(this);
        }

        void setDesktop(bool desktop) { desktop_ = desktop; }

        // Whether the window is unmapped only to be mapped again.
        bool remapPending() const { return remapPending_; }

        // A window manager reads a window's type only when the window is
        // mapped, so a shown window is unmapped and mapped again. Mapped again
        // before the manager has let it go, the window may be lost to it (seen
        // with openbox): the map waits until the window is withdrawn.
        void remap()
        {
            if (remapPending_)
                return;
            remapPending_ = true;
            window_->windowHandle()->hide();
            auto* poll = new QTimer(this);
            QElapsedTimer waited;
            waited.start();
            connect(poll, &QTimer::timeout, this, [this, poll, waited] {
                auto* c = xcb::Connection();
                const bool letGo = !window_ || !c || withdrawn(c, static_cast<xcb_window_t>(window_->winId()));
                if (letGo || waited.elapsed() > remapPatience) {
                    poll->stop();
                    poll->deleteLater();
                    remapPending_ = false;
                    if (window_ && !window_->isVisible())
                        window_->windowHandle()->show();
                }
            });
            poll->start(10);
        }

        bool eventFilter(QObject* watched, QEvent* event) override
        {
            // The widget gets its Show event before its native window is mapped.
            if (watched == window_ && event->type() == QEvent::Show) {
                if (auto* c = xcb::Connection()) {
                    writeUnmappedHints(c, static_cast<xcb_window_t>(window_->winId()), internAtoms(c), desktop_);
                    xcb_flush(c);
                }
                QTimer::singleShot(0, this, [this] { afterMap(); });
            }
            return false;
        }

    private:
        // Runs once the map request has gone out. X handles the requests of one
        // connection in order, so the lowering comes after the map, and a window
        // manager has taken the window on before it reads the requests.
        void afterMap()
        {
            auto* c = xcb::Connection();
            if (c && window_ && window_->isVisible()) {
                const auto window = static_cast<xcb_window_t>(window_->winId());
                if (desktop_)
                    lowerWindow(c, window);
                // The window manager may have rewritten the states between the
                // unmap and the map (it owns them until it lets the window go):
                // ask it again for the ones this level wants.
                requestMappedHints(c, window, internAtoms(c), desktop_);
                xcb_flush(c);
            }
            if (!desktop_ && !remapPending_)
                retire();
        }

        // Out of reach of later level changes at once, deleted soon after.
        void retire()
        {
            setObjectName(QString());
            if (window_)
                window_->removeEventFilter(this);
            deleteLater();
        }

        QPointer<QWidget> window_;
        bool desktop_;
        bool remapPending_ = false;
    };

    LevelKeeper* keeperOf(QWidget& window)
    {
        return dynamic_cast<LevelKeeper*>(window.findChild<QObject*>(keeperName, Qt::FindDirectChildrenOnly));
    }

    // Gives window the level, mapping it again if it is shown or waiting to be
    // shown again after an earlier change.
    void applyLevel(QWidget& window, bool desktop)
    {
        LevelKeeper* keeper = keeperOf(window);
        const bool shown = window.windowHandle()->isVisible() || (keeper && keeper->remapPending());
        if (keeper)
            keeper->setDesktop(desktop);
        else if (desktop || shown)
            keeper = new LevelKeeper(window, desktop);
        if (shown) {
            keeper->remap();
        } else if (!desktop) {
            // The map that would clear them may never come.
            if (auto* c = xcb::Connection()) {
                writeUnmappedHints(c, static_cast<xcb_window_t>(window.winId()), internAtoms(c), false);
                xcb_flush(c);
            }
        }
    }

} // namespace

void X11WindowLevel::SetDesktop(QWidget& window)
{
    // The window type applies only to an existing native window.
    window.winId();
    // Only the type, no window flags: a change of flags (Qt's own
    // WindowStaysOnBottomHint included) makes Qt recreate the native window,
    // and the new one carries none of the hints. _NET_WM_STATE_BELOW comes
    // with the other states instead.
    window.setAttribute(Qt::WA_X11NetWmWindowTypeDesktop, true);
    applyLevel(window, true);
}

void X11WindowLevel::SetNormal(QWidget& window)
{
    if (!window.testAttribute(Qt::WA_X11NetWmWindowTypeDesktop))
        return;
    window.winId();
    window.setAttribute(Qt::WA_X11NetWmWindowTypeDesktop, false);
    applyLevel(window, false);
}

} // namespace platform
