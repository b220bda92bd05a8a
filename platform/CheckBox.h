#pragma once

#include "platform/RectControl.h"

#include <functional>
#include <string>

namespace platform {

// A check box (a QCheckBox). Action is raised with the box itself whenever
// its Value changes: through the exception boundary when the user toggles it,
// and synchronously inside SetValue when code changes it (an exception then
// propagates to the caller of SetValue). Setting the value it already has
// raises nothing.
class CheckBox : public RectControl {
public:
    explicit CheckBox(platform::Window& owner);
    ~CheckBox() override;

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Value() const;
    void SetValue(bool value);

    std::function<void(CheckBox&)> Action;
};

} // namespace platform
