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

    // One property that a kind of control records and assigns, and what a kind records and assigns.
    struct Step;
    struct Row;

private:
    static const Row* rowOf(const LayoutControl& control);
    std::vector<float>& ratios(int slot);

    std::vector<float> TopRatio;
    std::vector<float> LeftRatio;
    std::vector<float> WidthRatio;
    std::vector<float> HeightRatio;
    std::vector<float> FontRatio;
};
