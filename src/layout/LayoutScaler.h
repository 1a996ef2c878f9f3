#pragma once

#include <vector>

class LayoutControl;
class LayoutWindow;

// Keeps every control of a window in proportion to its client area: CaptureLayout records positions,
// sizes and font sizes as ratios to the client width and height; ScaleLayout applies them again.
class LayoutScaler {
public:
    // Raises the failure of the first control that cannot be captured; the ratios keep what was
    // recorded up to it.
    void CaptureLayout(LayoutWindow& window);
    // Changes nothing below a client area of 2000 x 1500 twips. A single assignment that fails is
    // skipped; nothing is reported.
    void ScaleLayout(LayoutWindow& window);

private:
    enum class Row { Line, Skipped, HScrollBar, VScrollBar, PictureBox, SSTab, Standard, Other };
    using Ratios = std::vector<float>;

    static Row rowOf(const LayoutControl& control);
    void captureControl(LayoutWindow& window, LayoutControl& control, int i);
    void scaleControl(LayoutWindow& window, LayoutControl& control, int i);

    Ratios TopRatio;
    Ratios LeftRatio;
    Ratios WidthRatio;
    Ratios HeightRatio;
    Ratios FontRatio;
};
