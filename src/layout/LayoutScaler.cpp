#include "LayoutScaler.h"

#include "LayoutControl.h"
#include "LayoutWindow.h"
#include "core/Failure.h"

#include <array>
#include <cmath>

namespace {
using P = LayoutProperty;
using Ratios = std::vector<float>;

// The smallest client area that is scaled; a minimised window, for one, stays as it was.
constexpr float smallestWidth = 2000;
constexpr float smallestHeight = 1500;

double capturedValue(const LayoutControl& control, LayoutProperty property) {
    const std::optional<double> value = control.read(property);
    if (!value)
        throw Failure{438, QStringLiteral("Object doesn't support this property or method")};
    return *value;
}

float ratio(double value, double clientLength) {
    if (clientLength == 0)
        throw Failure{11, QStringLiteral("Division by zero")};
    return static_cast<float>(value / clientLength);
}

// The position a control on a hidden tab has when its tab is shown.
double trueLeft(double left) {
    return left < hiddenLeftLimit ? left + hiddenTabShift : left;
}

// One assignment of a scaling pass. It is skipped when the control came after the capture, the
// product is no number, or the control refuses the value.
void assign(LayoutControl& control, LayoutProperty property, double clientLength, const Ratios& ratios,
            int i) {
    if (i >= static_cast<int>(ratios.size()))
        return;
    const float product = static_cast<float>(clientLength) * ratios[i];
    if (std::isfinite(product))
        control.write(property, product);
}

// A control stays on the side of the hidden-tab line that it is on now; its true position follows.
void assignLeft(LayoutControl& control, double clientWidth, const Ratios& ratios, int i) {
    const std::optional<double> left = control.read(P::Left);
    if (!left || i >= static_cast<int>(ratios.size()))
        return;
    const float product = static_cast<float>(clientWidth) * ratios[i];
    if (std::isfinite(product))
        control.write(P::Left, *left < hiddenLeftLimit ? static_cast<double>(product) - hiddenTabShift
                                                       : static_cast<double>(product));
}
} // namespace

LayoutScaler::Row LayoutScaler::rowOf(const LayoutControl& control) {
    struct TypeRow {
        const char* name;
        Row row;
    };
    static constexpr std::array<TypeRow, 21> rows{{
        {"Line", Row::Line},
        {"CommonDialog", Row::Skipped},
        {"Timer", Row::Skipped},
        {"Menu", Row::Skipped},
        {"HScrollBar", Row::HScrollBar},
        {"VScrollBar", Row::VScrollBar},
        {"PictureBox", Row::PictureBox},
        {"SSTab", Row::SSTab},
        {"CheckBox", Row::Standard},
        {"TextBox", Row::Standard},
        {"Label", Row::Standard},
        {"ListBox", Row::Standard},
        {"DriveListBox", Row::Standard},
        {"DirListBox", Row::Standard},
        {"FileListBox", Row::Standard},
        {"Frame", Row::Standard},
        {"ComboBox", Row::Standard},
        {"CommandButton", Row::Standard},
        {"OptionButton", Row::Standard},
        {"MSHFlexGrid", Row::Standard},
        {"ImageList", Row::Skipped},
    }};
    const QLatin1String type = control.typeName();
    for (const TypeRow& row : rows)
        if (type == QLatin1String(row.name))
            return row.row;
    return Row::Other;
}

void LayoutScaler::CaptureLayout(LayoutWindow& window) {
    const auto count = static_cast<std::size_t>(window.controlCount());
    for (Ratios* ratios : {&TopRatio, &LeftRatio, &WidthRatio, &HeightRatio, &FontRatio})
        ratios->assign(count, 0.0f);
    for (int i = 0; i < window.controlCount(); ++i)
        captureControl(window, window.control(i), i);
}

void LayoutScaler::captureControl(LayoutWindow& window, LayoutControl& control, int i) {
    const auto W = [&] { return window.clientWidth(); };
    const auto H = [&] { return window.clientHeight(); };
    const auto value = [&](LayoutProperty property) { return capturedValue(control, property); };
    switch (rowOf(control)) {
    case Row::Line:
        TopRatio[i] = ratio(value(P::X1), W());
        LeftRatio[i] = ratio(value(P::X2), W());
        WidthRatio[i] = ratio(value(P::Y1), H());
        HeightRatio[i] = ratio(value(P::Y2), H());
        break;
    case Row::Skipped:
        break;
    case Row::HScrollBar:
    case Row::VScrollBar:
        TopRatio[i] = ratio(value(P::Top), H());
        LeftRatio[i] = ratio(trueLeft(value(P::Left)), W());
        WidthRatio[i] =
            rowOf(control) == Row::HScrollBar ? ratio(value(P::Width), W()) : ratio(value(P::Height), H());
        break;
    case Row::PictureBox:
        TopRatio[i] = ratio(value(P::Top), H());
        LeftRatio[i] = ratio(trueLeft(value(P::Left)), W());
        WidthRatio[i] = ratio(value(P::Width), W());
        HeightRatio[i] = ratio(value(P::Height), H());
        break;
    case Row::SSTab:
        TopRatio[i] = ratio(value(P::TabHeight), H());
        LeftRatio[i] = ratio(value(P::TabMaxWidth), W());
        WidthRatio[i] = ratio(value(P::Width), W());
        HeightRatio[i] = ratio(value(P::Height), H());
        FontRatio[i] = ratio(value(P::FontObjectSize), H());
        break;
    case Row::Standard:
        TopRatio[i] = ratio(value(P::Top), H());
        LeftRatio[i] = ratio(trueLeft(value(P::Left)), W());
        WidthRatio[i] = ratio(value(P::Width), W());
        HeightRatio[i] = ratio(value(P::Height), H());
        FontRatio[i] = ratio(value(P::FontSize), H());
        break;
    case Row::Other:
        TopRatio[i] = ratio(value(P::Top), H());
        LeftRatio[i] = ratio(trueLeft(value(P::Left)), W());
        break;
    }
}

void LayoutScaler::ScaleLayout(LayoutWindow& window) {
    if (!(static_cast<float>(window.clientWidth()) >= smallestWidth &&
          static_cast<float>(window.clientHeight()) >= smallestHeight))
        return;
    for (int i = 0; i < window.controlCount(); ++i)
        scaleControl(window, window.control(i), i);
}

void LayoutScaler::scaleControl(LayoutWindow& window, LayoutControl& control, int i) {
    const auto W = [&] { return window.clientWidth(); };
    const auto H = [&] { return window.clientHeight(); };
    switch (rowOf(control)) {
    case Row::Line:
        assign(control, P::X1, W(), TopRatio, i);
        assign(control, P::X2, W(), LeftRatio, i);
        assign(control, P::Y1, H(), WidthRatio, i);
        assign(control, P::Y2, H(), HeightRatio, i);
        break;
    case Row::Skipped:
        break;
    case Row::HScrollBar:
        assign(control, P::Top, H(), TopRatio, i);
        assignLeft(control, W(), LeftRatio, i);
        assign(control, P::Width, W(), WidthRatio, i);
        break;
    case Row::VScrollBar:
        assign(control, P::Top, H(), TopRatio, i);
        assignLeft(control, W(), LeftRatio, i);
        assign(control, P::Height, H(), WidthRatio, i);
        break;
    case Row::PictureBox:
        assign(control, P::Top, H(), TopRatio, i);
        assignLeft(control, W(), LeftRatio, i);
        assign(control, P::Width, W(), WidthRatio, i);
        assign(control, P::Height, H(), HeightRatio, i);
        break;
    case Row::SSTab:
        assign(control, P::TabHeight, H(), TopRatio, i);
        assign(control, P::TabMaxWidth, W(), LeftRatio, i);
        assign(control, P::Width, W(), WidthRatio, i);
        assign(control, P::Height, H(), HeightRatio, i);
        assign(control, P::FontObjectSize, H(), FontRatio, i);
        break;
    case Row::Standard:
        assign(control, P::Height, H(), HeightRatio, i);
        assign(control, P::Top, H(), TopRatio, i);
        assignLeft(control, W(), LeftRatio, i);
        assign(control, P::Width, W(), WidthRatio, i);
        assign(control, P::FontSize, H(), FontRatio, i);
        break;
    case Row::Other:
        assign(control, P::Top, H(), TopRatio, i);
        assignLeft(control, W(), LeftRatio, i);
        break;
    }
}
