#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One item of a menu tree. An item's children are its submenu; a MenuBar is
// the root item whose children are the bar's menus.
//
// The tree is plain data: windows and the tray icon build their Qt menus from
// it when they open, so build the tree before the windows that show it.
//
// Choosing an item looks for a handler registered under the item's Name:
// first on the frontmost (active) window, then on the application
// (Window::AddMenuHandler, Application::AddMenuHandler). The first handler
// that returns true has handled it.
class MenuItem {
public:
    MenuItem() = default;
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // The name by which handlers and Child() find the item.
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // The caption; "&" marks the mnemonic letter ("&File"), "&&" is a literal "&".
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

    // Key equivalent as text: modifiers and key joined by "+", e.g. "Cmd+Q",
    // "Cmd+,". "Cmd" is the Ctrl key on Linux, "Option" is Alt. Empty: none.
    const std::string& Shortcut() const { return shortcut_; }
    void SetShortcut(std::string shortcut) { shortcut_ = std::move(shortcut); }

    // An auto-enabled item is always enabled; an item without it is shown disabled.
    bool AutoEnabled() const { return autoEnabled_; }
    void SetAutoEnabled(bool autoEnabled) { autoEnabled_ = autoEnabled; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // Appends item as the last child. Raises NilObjectException for none.
    void AddMenu(std::shared_ptr<MenuItem> item);
    // The first child whose Name equals name, or none.
    std::shared_ptr<MenuItem> Child(const std::string& name) const;
    // The children in order; Item raises OutOfBoundsException past the end.
    std::size_t Count() const { return children_.size(); }
    std::shared_ptr<MenuItem> Item(std::size_t index) const;

private:
    std::string name_;
    std::string text_;
    std::string shortcut_;
    bool autoEnabled_ = true;
    bool visible_ = true;
    std::vector<std::shared_ptr<MenuItem>> children_;
};

} // namespace platform
