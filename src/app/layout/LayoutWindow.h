#pragma once

class LayoutControl;

// A window as layout scaling sees it: its controls in a fixed order and its client area in twips.
class LayoutWindow {
public:
    virtual ~LayoutWindow() = default;
    virtual int controlCount() const = 0;
    virtual LayoutControl& control(int index) = 0;
    virtual double clientWidth() const = 0;
    virtual double clientHeight() const = 0;
};
