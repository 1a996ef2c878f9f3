#include "core/Failure.h"
#include "layout/LayoutControl.h"
#include "layout/LayoutScaler.h"
#include "layout/LayoutWindow.h"

#include <QMap>
#include <QSet>
#include <QTest>

#include <deque>

namespace {
using P = LayoutProperty;
using Values = QMap<P, double>;

// A control with the given properties; it refuses writes to those named in refused and records the
// order of the writes it takes.
struct FakeControl : LayoutControl {
    FakeControl(const char* type, Values values) : type(type), values(std::move(values)) {}
    QLatin1String typeName() const override { return QLatin1String(type); }
    std::optional<double> read(P property) const override {
        return values.contains(property) ? std::optional(values[property]) : std::nullopt;
    }
    bool write(P property, double value) override {
        if (!values.contains(property) || refused.contains(property))
            return false;
        values[property] = value;
        written << property;
        return true;
    }
    const char* type;
    Values values;
    QSet<P> refused;
    QList<P> written;
};

struct FakeWindow : LayoutWindow {
    int controlCount() const override { return static_cast<int>(controls.size()); }
    LayoutControl& control(int index) override { return controls[static_cast<std::size_t>(index)]; }
    double clientWidth() const override { return width; }
    double clientHeight() const override { return height; }
    FakeControl& operator[](const char* type) {
        for (FakeControl& c : controls)
            if (qstrcmp(c.type, type) == 0)
                return c;
        qFatal("no control %s", type);
    }
    std::deque<FakeControl> controls;
    double width = 9000;
    double height = 6000;
};

Values rect(double left, double top, double width, double height, double font = 8) {
    return {{P::Left, left}, {P::Top, top}, {P::Width, width}, {P::Height, height}, {P::FontSize, font}};
}
Values line(double x1, double x2, double y1, double y2) {
    return {{P::X1, x1}, {P::X2, x2}, {P::Y1, y1}, {P::Y2, y2}, {P::Top, 5}, {P::Left, 5}};
}
Values tab(double width, double height, double tabHeight, double font) {
    Values values = rect(0, 0, width, height);
    values.remove(P::FontSize);
    values.insert(Values{{P::TabHeight, tabHeight}, {P::TabMaxWidth, 0}, {P::FontObjectSize, font}});
    return values;
}
const Values box = rect(900, 600, 1800, 360);

// One control of every row of the table, captured at 9000 x 6000 twips.
FakeWindow everyKind() {
    FakeWindow w;
    w.controls.emplace_back("Line", line(900, 1800, 600, 1200));
    for (const char* type : {"Menu", "HScrollBar", "VScrollBar", "PictureBox"})
        w.controls.emplace_back(type, box);
    w.controls.emplace_back("SSTab", tab(9000, 6000, 300, 8));
    w.controls.emplace_back("TextBox", box);
    w.controls.emplace_back("OptionButton", rect(120 - 75000, 600, 900, 300));
    w.controls.emplace_back("Label", rect(-30000, 600, 900, 300));
    w.controls.emplace_back("ImageList", box);
    w.controls.emplace_back("RichTextBox", box);
    return w;
}

FakeWindow capturedAndResized(LayoutScaler& scaler, double width, double height) {
    FakeWindow w = everyKind();
    scaler.CaptureLayout(w);
    w.width = width;
    w.height = height;
    scaler.ScaleLayout(w);
    return w;
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void eachRowScalesWhatItNames() {
        FakeWindow w = everyKind();
        LayoutScaler scaler;
        scaler.CaptureLayout(w);
        w["Label"].refused = {P::Top};
        w.controls.emplace_back("CheckBox", box); // came after the capture
        w.width = 18000;                          // twice as wide, one and a half times as high
        w.height = 9000;
        scaler.ScaleLayout(w);
        QCOMPARE(w["Line"].values, line(1800, 3600, 900, 1800));
        QCOMPARE(w["Menu"].values, box);
        QCOMPARE(w["ImageList"].values, box);
        QCOMPARE(w["CheckBox"].values, box);
        QCOMPARE(w["HScrollBar"].values, rect(1800, 900, 3600, 360));
        QCOMPARE(w["VScrollBar"].values, rect(1800, 900, 1800, 540));
        QCOMPARE(w["PictureBox"].values, rect(1800, 900, 3600, 540));
        QCOMPARE(w["SSTab"].values, tab(18000, 9000, 450, 12));
        QCOMPARE(w["TextBox"].values, rect(1800, 900, 3600, 540, 12));
        QCOMPARE(w["TextBox"].written, (QList<P>{P::Height, P::Top, P::Left, P::Width, P::FontSize}));
        QCOMPARE(w["RichTextBox"].values, rect(1800, 900, 1800, 360));
        // On a hidden tab the true Left follows the window; exactly -30000 counts as shown. The refused
        // Top is skipped while the rest scales.
        QCOMPARE(w["OptionButton"].values[P::Left], 240.0 - 75000);
        QCOMPARE(w["Label"].values, rect(-60000, 600, 1800, 450, 12));
    }

    void smallWindowsAreLeftAsTheyAre_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("scaled");
        QTest::newRow("2000 x 1500") << 2000.0 << 1500.0 << true;
        QTest::newRow("1999 x 1500") << 1999.0 << 1500.0 << false;
        QTest::newRow("2000 x 1499") << 2000.0 << 1499.0 << false;
        QTest::newRow("minimised") << 0.0 << 0.0 << false;
        QTest::newRow("too wide to compute") << 1e39 << 6000.0 << false;
    }
    void smallWindowsAreLeftAsTheyAre() {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, scaled);
        LayoutScaler scaler;
        QCOMPARE(capturedAndResized(scaler, width, height)["TextBox"].values != box, scaled);
    }

    void everyPassStartsFromTheCaptureAndFontsFollowTheHeightOnly() {
        const FakeWindow captured = everyKind();
        LayoutScaler scaler;
        FakeWindow w = capturedAndResized(scaler, 4000, 3000);
        for (const auto& [width, height] : {std::pair{2000.0, 1500.0}, {9000.0, 6000.0}}) {
            w.width = width;
            w.height = height;
            scaler.ScaleLayout(w);
        }
        for (std::size_t i = 0; i < w.controls.size(); ++i)
            for (const auto& [property, value] : captured.controls[i].values.asKeyValueRange())
                QVERIFY2(qAbs(w.controls[i].values[property] - value) < 0.01, w.controls[i].type);

        w.width = 12000;
        scaler.ScaleLayout(w);
        QCOMPARE(w["TextBox"].values[P::FontSize], 8.0);
        w.height = 6600;
        scaler.ScaleLayout(w);
        QCOMPARE(w["TextBox"].values[P::FontSize], double(6600.0f * (8.0f / 6000.0f)));
        QCOMPARE(qRound(w["SSTab"].values[P::FontObjectSize] * 100), 880);
    }

    void aFailingCaptureStopsAtTheControlAndReportsIt() {
        FakeWindow w = everyKind();
        w.controls.emplace(w.controls.begin() + 1, "Shape", Values{{P::Left, 5}});
        LayoutScaler scaler;
        try {
            scaler.CaptureLayout(w);
            QFAIL("a control without Top was captured");
        } catch (const Failure& failure) {
            QCOMPARE(failure.number, 438);
        }
        // What came before the failing control was recorded; nothing after it was.
        w.width = 18000;
        scaler.ScaleLayout(w);
        QCOMPARE(w["Line"].values[P::X1], 1800.0);
        QCOMPARE(w["TextBox"].values[P::Width], 0.0);
        w.height = 0;
        try {
            scaler.CaptureLayout(w);
            QFAIL("a window without height was captured");
        } catch (const Failure& failure) {
            QCOMPARE(failure.number, 11);
        }
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
