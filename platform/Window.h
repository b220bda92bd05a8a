#pragma once

#include "platform/Rect.h"
#include "platform/RuntimeException.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class Control;
class MenuBar;

// A top-level window. The program subclasses it, overrides the event methods
// it handles, and builds it like this:
//
//   class WindowMain : public platform::Window {
//   public:
//       explicit WindowMain(std::int64_t screen) : screen(screen) { Constructor(); }
//       void Layout() override;          // SetMenuBar(...), then design values
//       void CreateControls() override;  // make controls, AddControl, bind events
//       void Event_Open() override;
//       ...
//   };
//   auto w = std::make_shared<WindowMain>(0);  // always through std::shared_ptr
//   w->SetBounds({ 0, 0, 1920, 1080 });
//
// Constructor() raises Layout, CreateControls and AddMenuHandlers, in that
// order, synchronously (exceptions reach the creator). It then schedules the
// opening on the event loop: the native window is created (Handle() is valid
// from then on), Event_Open is raised once, and the window is first shown
// (if Visible) at the bounds it has then. So a creator that sets the bounds
// right after construction gets the first map at those bounds.
//
// The framework holds an open window (through shared_from_this) from its
// opening until Close(). The opening comes on the next turn of the event
// loop, so the creator must hold its reference until then (the application
// keeps its windows in lists anyway); a window released before it opened is
// destroyed without opening. Close() raises Event_Close once, stops the
// window's timers, closes its surface and releases the framework's reference.
//
// Geometry is the content area in global coordinates, y downward, in integer
// device-independent pixels; the menu bar of a titled window sits above it.
// Every size set is clamped to the minimum and maximum size. After
// construction every size change raises Event_Resized (Event_Resizing first
// when the user or the window manager made the change), with the window's
// OpenGL surface context current, so projection calls made there reach the
// surface that Render draws.
//
// All events run on the main thread. Inside a subclass the names Window and
// MenuBar denote member functions; write platform::Window, platform::MenuBar.
class Window : public std::enable_shared_from_this<Window> {
public:
    // Type values.
    static constexpr std::int64_t TypeDocument = 0; // titled, framed window
    static constexpr std::int64_t TypePlainBox = 4; // no frame, no title bar
    // DefaultLocation values.
    static constexpr std::int64_t LocationDefault = 0; // at Left/Top as set
    static constexpr std::int64_t LocationMainScreen = 2; // centred on the main screen's available area

    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // --- construction events (raised by Constructor(), in this order) ---
    virtual void Layout() { }
    virtual void CreateControls() { }
    // window is this window.
    virtual void AddMenuHandlers(platform::Window& window) { (void)window; }

    // --- window events ---
    virtual void Event_Open() { }
    virtual void Event_Close() { }
    virtual void Event_Resized() { }
    virtual void Event_Resizing() { }

    // --- design values (usually applied in Layout, in table order) ---
    void SetWidth(std::int64_t width);
    void SetHeight(std::int64_t height);
    void SetMinimumWidth(std::int64_t width);
    void SetMinimumHeight(std::int64_t height);
    void SetMaximumWidth(std::int64_t width);
    void SetMaximumHeight(std::int64_t height);
    std::int64_t MinimumWidth() const;
    std::int64_t MinimumHeight() const;
    std::int64_t MaximumWidth() const;
    std::int64_t MaximumHeight() const;
    // TypeDocument or TypePlainBox; other values raise OutOfBoundsException.
    void SetType(std::int64_t type);
    std::int64_t Type() const;
    void SetTitle(const std::string& title);
    std::string Title() const;
    void SetHasCloseButton(bool has);
    void SetHasMaximizeButton(bool has);
    void SetHasMinimizeButton(bool has);
    // macOS full-screen button: no equivalent here, stored only.
    void SetHasFullScreenButton(bool has);
    // A window that is not resizeable has a fixed size for the user; code can still set it.
    void SetResizeable(bool resizeable);
    bool Resizeable() const;
    // LocationDefault or LocationMainScreen (applied when set); others raise OutOfBoundsException.
    void SetDefaultLocation(std::int64_t location);
    // Whether the window is shown when it opens (and shows or hides it once open).
    void SetVisible(bool visible);
    bool Visible() const;
    // Whether a titled window shows its menu bar above its content area.
    void SetMenuBarVisible(bool visible);
    bool MenuBarVisible() const;
    // Colour as &hAARRGGBB with AA counting transparency (0 opaque); painted
    // behind the controls only while HasBackgroundColor is true.
    void SetHasBackgroundColor(bool has);
    void SetBackgroundColor(std::uint32_t color);

    // The window's menu bar (none: the application's bar is used for the
    // context menu and the shortcuts).
    void SetMenuBar(std::shared_ptr<platform::MenuBar> bar);
    std::shared_ptr<platform::MenuBar> MenuBar() const;

    // --- geometry: the content area, global coordinates ---
    std::int64_t Left() const;
    std::int64_t Top() const;
    std::int64_t Width() const;
    std::int64_t Height() const;
    void SetLeft(std::int64_t left);
    void SetTop(std::int64_t top);
    Rect Bounds() const;
    // Values are truncated toward zero; the size is clamped to the limits.
    void SetBounds(const Rect& bounds);

    // The native handle: reinterpret_cast<std::intptr_t>(the top-level QWidget*).
    // The native X window exists from just before Event_Open; 0 once closed.
    std::int64_t Handle() const;

    // Shows the window and brings it to the front (once open; before that it
    // only makes it Visible for its opening).
    void Show();
    // Closes the window; does nothing if it is closed already.
    void Close();
    bool IsClosed() const;

    // --- menu handlers ---
    // Registers handler for the menu item named itemName on this window,
    // replacing an earlier one; used while this window is the frontmost one.
    // It returns true when it handled the item.
    void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    std::function<bool()> MenuHandler(const std::string& itemName) const;

    // --- controls ---
    // Registers control under name; the window holds it from now on. A control
    // whose Index is none is a single control: name must not be in use. A
    // control with an Index joins the control array of that name: the first
    // member keeps its Index, each later one gets the highest Index of the
    // array plus one. Raises NilObjectException for none, RuntimeException for
    // a control of another window or a name clash.
    void AddControl(const std::string& name, std::shared_ptr<Control> control);
    // The single control of that name (or the array member with the lowest
    // Index), or none.
    std::shared_ptr<Control> FindControl(const std::string& name) const;
    // The member of the array name with that Index, or none.
    std::shared_ptr<Control> FindControl(const std::string& name, std::int64_t index) const;
    // As FindControl, cast to T; IllegalCastException if it is not a T.
    template <typename T> std::shared_ptr<T> ControlAs(const std::string& name) const
    {
        return Cast<T>(FindControl(name));
    }
    template <typename T> std::shared_ptr<T> ControlAs(const std::string& name, std::int64_t index) const
    {
        return Cast<T>(FindControl(name, index));
    }
    // All controls in order of registration.
    std::size_t ControlCount() const;
    std::shared_ptr<Control> ControlAt(std::size_t position) const;

    struct Impl;

protected:
    Window();
    // Runs the window's construction (see the class comment). Call it once,
    // at the end of the most derived constructor.
    void Constructor();

private:
    template <typename T> static std::shared_ptr<T> Cast(const std::shared_ptr<Control>& control)
    {
        if (!control)
            return nullptr;
        auto cast = std::dynamic_pointer_cast<T>(control);
        if (!cast)
            throw IllegalCastException("control is not of the requested class");
        return cast;
    }

    friend struct WindowAccess;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
