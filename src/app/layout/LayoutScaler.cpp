#include "LayoutScaler.h"

#include "LayoutControl.h"
#include "LayoutWindow.h"
#include "core/Failure.h"

#include <array>
#include <cmath>
#include <span>

namespace {
using P = LayoutProperty;
using Ratios = std::vector<float>;

// The smallest client area that is scaled; a minimised window, for one, stays as it was.
constexpr float smallestWidth = 2000;
constexpr float smallestHeight = 1500;

enum class Axis { Width, Height };
enum Slot { Top, Left, Width, Height, Font };

} // namespace

// Which client length a property's ratio is taken to, and in which ratio it is kept. Left always
// follows the hidden-tab rule.
struct LayoutScaler::Step {
    LayoutProperty property;
    Axis axis;
    Slot slot;
};

struct LayoutScaler::Row {
    std::span<const Step> capture;
    std::span<const Step> scale;
};

namespace {
using Step = LayoutScaler::Step;

constexpr Step tabSteps[]{{P::TabHeight, Axis::Height, Top},
                          {P::TabMaxWidth, Axis::Width, Left},
                          {P::Width, Axis::Width, Width},
                          {P::Height, Axis::Height, Height},
                          {P::FontObjectSize, Axis::Height, Font}};
constexpr Step standardCapture[]{{P::Top, Axis::Height, Top},
                                 {P::Left, Axis::Width, Left},
                                 {P::Width, Axis::Width, Width},
                                 {P::Height, Axis::Height, Height},
                                 {P::FontSize, Axis::Height, Font}};
// Scaling sets the height before the position.
constexpr Step standardScale[]{{P::Height, Axis::Height, Height},
                               {P::Top, Axis::Height, Top},
                               {P::Left, Axis::Width, Left},
                               {P::Width, Axis::Width, Width},
                               {P::FontSize, Axis::Height, Font}};
// A picture box keeps the standard steps without its font.
constexpr std::span<const Step> pictureSteps = std::span(standardCapture).first<4>();
constexpr Step otherSteps[]{{P::Top, Axis::Height, Top}, {P::Left, Axis::Width, Left}};

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

double clientLength(const LayoutWindow& window, Axis axis) {
    return axis == Axis::Width ? window.clientWidth() : window.clientHeight();
}

// One assignment of a scaling pass. It is skipped when the control came after the capture, the
// product is no number, or the control refuses the value. A control stays on the side of the
// hidden-tab line that it is on now; its true position follows.
void assign(LayoutControl& control, const Step& step, double length, const Ratios& ratios, int i) {
    std::optional<double> left;
    if (step.property == P::Left && !(left = control.read(P::Left)))
        return;
    if (i >= static_cast<int>(ratios.size()))
        return;
    const float product = static_cast<float>(length) * ratios[i];
    if (!std::isfinite(product))
        return;
    const bool hidden = left && *left < hiddenLeftLimit;
    control.write(step.property, hidden ? static_cast<double>(product) - hiddenTabShift : product);
}
} // namespace

const LayoutScaler::Row* LayoutScaler::rowOf(const LayoutControl& control) {
    static const Row pictureBox{pictureSteps, pictureSteps};
    static const Row tab{tabSteps, tabSteps};
    static const Row standard{standardCapture, standardScale};
    static const Row other{otherSteps, otherSteps};
    struct TypeRow {
        const char* name;
        const Row* row; // null: nothing is captured or scaled
    };
    // The kinds of control the window has; any other kind takes the row `other`.
    static const std::array<TypeRow, 8> rows{{
        {"Menu", nullptr},
        {"PictureBox", &pictureBox},
        {"SSTab", &tab},
        {"CheckBox", &standard},
        {"TextBox", &standard},
        {"Label", &standard},
        {"CommandButton", &standard},
        {"OptionButton", &standard},
    }};
    const QLatin1String type = control.typeName();
    for (const TypeRow& row : rows)
        if (type == QLatin1String(row.name))
            return row.row;
    return &other;
}

std::vector<float>& LayoutScaler::ratios(int slot) {
    std::array<Ratios*, 5> all{&TopRatio, &LeftRatio, &WidthRatio, &HeightRatio, &FontRatio};
    return *all[static_cast<std::size_t>(slot)];
}

void LayoutScaler::CaptureLayout(LayoutWindow& window) {
    for (int slot = Top; slot <= Font; ++slot)
        ratios(slot).assign(static_cast<std::size_t>(window.controlCount()), 0.0f);
    for (int i = 0; i < window.controlCount(); ++i) {
        LayoutControl& control = window.control(i);
        if (const Row* row = rowOf(control))
            for (const Step& step : row->capture) {
                const double value = capturedValue(control, step.property);
                ratios(step.slot)[static_cast<std::size_t>(i)] = ratio(
                    step.property == P::Left ? trueLeft(value) : value, clientLength(window, step.axis));
            }
    }
}

void LayoutScaler::ScaleLayout(LayoutWindow& window) {
    if (!(static_cast<float>(window.clientWidth()) >= smallestWidth &&
          static_cast<float>(window.clientHeight()) >= smallestHeight))
        return;
    for (int i = 0; i < window.controlCount(); ++i) {
        LayoutControl& control = window.control(i);
        if (const Row* row = rowOf(control))
            for (const Step& step : row->scale)
                assign(control, step, clientLength(window, step.axis), ratios(step.slot), i);
    }
}
