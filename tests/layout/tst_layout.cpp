#include "app/layout/LayoutControl.h"
#include "app/layout/LayoutScaler.h"
#include "app/layout/LayoutWindow.h"
#include "core/Failure.h"

#include <QtTest>

namespace {
using P = LayoutProperty;
using Values = QMap<P, double>;
using Opt = std::optional<double>;

Values rect(double left, double top, double width, double height, double font = 8) {
    return {{P::Left, left}, {P::Top, top}, {P::Width, width}, {P::Height, height}, {P::FontSize, font}};
}
Values tab(double width, double height, double tabHeight, double maxWidth, double font) {
    Values values = rect(600, 600, width, height);
    values.insert({{P::TabHeight, tabHeight}, {P::TabMaxWidth, maxWidth}, {P::FontObjectSize, font}});
    return values;
}
const Values box = rect(900, 600, 1800, 360);

// One control of every row: captured at 9000 x 6000 twips, and at 18000 x 9000.
const std::tuple<const char*, Values, Values> kinds[]{
    {"PictureBox", box, rect(1800, 900, 3600, 540)},
    {"SSTab", tab(9000, 6000, 300, 900, 8), tab(18000, 9000, 450, 1800, 12)},
    {"TextBox", box, rect(1800, 900, 3600, 540, 12)},
    // Exactly -30000 is not on a hidden tab.
    {"Label", rect(-30000, 600, 900, 300), rect(-60000, 600, 1800, 450, 12)}, // Top refused
    {"Menu", box, box},
    {"RichTextBox", box, rect(1800, 900, 1800, 360)},
};

struct FakeControl : LayoutControl {
    FakeControl(const char* type, Values values) : type(type), values(std::move(values)) {}
    QLatin1String typeName() const override { return QLatin1String(type); }
    Opt read(P p) const override { return values.contains(p) ? Opt(values[p]) : std::nullopt; }
    bool write(P p, double value) override {
        if (!values.contains(p) || refused.contains(p))
            return false;
        values[p] = value;
        return true;
    }
    const char* type;
    Values values;
    QList<P> refused;
};

struct FakeWindow : LayoutWindow {
    FakeWindow() {
        for (const auto& [type, captured, scaled] : kinds)
            controls.emplaceBack(type, captured);
        scaler.CaptureLayout(*this);
    }
    int controlCount() const override { return static_cast<int>(controls.size()); }
    LayoutControl& control(int index) override { return controls[index]; }
    double clientWidth() const override { return size.width(); }
    double clientHeight() const override { return size.height(); }
    FakeControl& operator[](const char* type) {
        return *std::ranges::find(controls, QLatin1String(type), &FakeControl::typeName);
    }
    int capture() try {
        scaler.CaptureLayout(*this);
        return 0;
    } catch (const Failure& failure) {
        return failure.number;
    }
    void scale(QSizeF newSize) {
        size = newSize;
        scaler.ScaleLayout(*this);
    }
    QList<FakeControl> controls;
    QSizeF size{9000, 6000};
    LayoutScaler scaler;
};
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    // Every pass starts from the capture, so a detour leaves nothing behind. Nothing changes below
    // 2000 x 1500 or past a float's range. A failed capture reports.
    void eachRowScalesWhatItNamesFromTheCapture() {
        FakeWindow w;
        w["Label"].refused = {P::Top};
        w.controls.emplaceBack("CheckBox", box); // came after the capture
        w.scale({2000, 1500});
        QCOMPARE(w["TextBox"].values, rect(200, 150, 400, 90, 2));
        for (const QSizeF size : {QSizeF(1e39, 6000), QSizeF(1999, 1500), QSizeF(2000, 1499)})
            w.scale(size);
        QCOMPARE(w["TextBox"].values, rect(200, 600, 400, 360, 8));
        w.scale({18000, 9000});
        for (const auto& [type, captured, scaled] : kinds)
            QVERIFY2(w[type].values == scaled, type);
        QCOMPARE(w["CheckBox"].values, box);
        w.controls.emplace(1, "Shape", Values{{P::Left, 5}}); // has no Top
        QCOMPARE(w.capture(), 438);
        // The failed capture kept what came before the failing control, and nothing after it.
        w.scale({18000, 6000});
        QCOMPARE(w["PictureBox"].values[P::Left], 1800.0);
        QCOMPARE(w["TextBox"].values[P::Width], 0.0);
        w.size.setHeight(0);
        QCOMPARE(w.capture(), 11);
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
