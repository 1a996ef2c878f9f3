#pragma once

#include <QLatin1String>

#include <optional>

// A tab control hides the controls of its inactive tabs by moving them this far to the left; a control
// whose Left lies below hiddenLeftLimit is on a tab that is not shown.
inline constexpr int hiddenTabShift = 75000;
inline constexpr int hiddenLeftLimit = -30000;

// The properties layout scaling reads and writes: lengths in twips, font sizes in points.
// FontObjectSize is the size of a tab control's caption font.
enum class LayoutProperty { Left, Top, Width, Height, FontSize, TabHeight, TabMaxWidth, FontObjectSize };

// One control of a window as layout scaling sees it.
class LayoutControl {
public:
    virtual ~LayoutControl() = default;
    // The name the scaling table knows the control's kind by: "TextBox", "Label", "SSTab" ...
    virtual QLatin1String typeName() const = 0;
    // Nothing when the control has no such property.
    virtual std::optional<double> read(LayoutProperty property) const = 0;
    // False when the control has no such property, keeps it read-only or refuses the value.
    virtual bool write(LayoutProperty property, double value) = 0;
};
