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

// A control with the given properties; it refuses writes to those named in refused and records the
// order of the writes it takes.
struct FakeControl : LayoutControl {
    FakeControl(const char* type, QMap<P, double> values) : type(type), values(std::move(values)) {}
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
    QMap<P, double> values;
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

const QMap<P, double> box{
    {P::Left, 900}, {P::Top, 600}, {P::Width, 1800}, {P::Height, 360}, {P::FontSize, 8}};

// One control of every row of the table, captured at 9000 x 6000 twips.
FakeWindow everyKind() {
    FakeWindow w;
    w.controls.emplace_back(
        "Line",
        QMap<P, double>{{P::X1, 900}, {P::X2, 1800}, {P::Y1, 600}, {P::Y2, 1200}, {P::Top, 5}, {P::Left, 5}});
    w.controls.emplace_back("Menu", box);
    w.controls.emplace_back("HScrollBar", box);
    w.controls.emplace_back("VScrollBar", box);
    w.controls.emplace_back("PictureBox", box);
    w.controls.emplace_back("SSTab", QMap<P, double>{{P::Left, 0},
                                                     {P::Top, 0},
                                                     {P::Width, 9000},
                                                     {P::Height, 6000},
                                                     {P::TabHeight, 300},
                                                     {P::TabMaxWidth, 0},
                                                     {P::FontObjectSize, 8}});
    w.controls.emplace_back("TextBox", box);
    w.controls.emplace_back(
        "OptionButton",
        QMap<P, double>{
            {P::Left, 120 - 75000}, {P::Top, 600}, {P::Width, 900}, {P::Height, 300}, {P::FontSize, 8}});
    w.controls.emplace_back(
        "Label", QMap<P, double>{
                     {P::Left, -30000}, {P::Top, 600}, {P::Width, 900}, {P::Height, 300}, {P::FontSize, 8}});
    w.controls.emplace_back("ImageList", box);
    w.controls.emplace_back("RichTextBox", box);
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
        w.width = 18000; // twice as wide, one and a half times as high
        w.height = 9000;
        scaler.ScaleLayout(w);
        QCOMPARE(w["Line"].values,
                 (QMap<P, double>{
                     {P::X1, 1800}, {P::X2, 3600}, {P::Y1, 900}, {P::Y2, 1800}, {P::Top, 5}, {P::Left, 5}}));
        QCOMPARE(w["Menu"].values, box);
        QCOMPARE(w["ImageList"].values, box);
        QCOMPARE(w["HScrollBar"].values,
                 (QMap<P, double>{
                     {P::Left, 1800}, {P::Top, 900}, {P::Width, 3600}, {P::Height, 360}, {P::FontSize, 8}}));
        QCOMPARE(w["VScrollBar"].values,
                 (QMap<P, double>{
                     {P::Left, 1800}, {P::Top, 900}, {P::Width, 1800}, {P::Height, 540}, {P::FontSize, 8}}));
        QCOMPARE(w["PictureBox"].values,
                 (QMap<P, double>{
                     {P::Left, 1800}, {P::Top, 900}, {P::Width, 3600}, {P::Height, 540}, {P::FontSize, 8}}));
        QCOMPARE(w["SSTab"].values, (QMap<P, double>{{P::Left, 0},
                                                     {P::Top, 0},
                                                     {P::Width, 18000},
                                                     {P::Height, 9000},
                                                     {P::TabHeight, 450},
                                                     {P::TabMaxWidth, 0},
                                                     {P::FontObjectSize, 12}}));
        QCOMPARE(w["TextBox"].values,
                 (QMap<P, double>{
                     {P::Left, 1800}, {P::Top, 900}, {P::Width, 3600}, {P::Height, 540}, {P::FontSize, 12}}));
        QCOMPARE(w["TextBox"].written, (QList<P>{P::Height, P::Top, P::Left, P::Width, P::FontSize}));
        QCOMPARE(w["RichTextBox"].values,
                 (QMap<P, double>{
                     {P::Left, 1800}, {P::Top, 900}, {P::Width, 1800}, {P::Height, 360}, {P::FontSize, 8}}));
        // On a hidden tab the true Left follows the window; exactly -30000 counts as shown.
        QCOMPARE(w["OptionButton"].values[P::Left], 240.0 - 75000);
        QCOMPARE(w["Label"].values[P::Left], -60000.0);
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
        FakeWindow w = everyKind();
        LayoutScaler scaler;
        scaler.CaptureLayout(w);
        w.width = width;
        w.height = height;
        scaler.ScaleLayout(w);
        QCOMPARE(w["TextBox"].values != box, scaled);
    }

    void everyPassStartsFromTheCapture() {
        FakeWindow w = everyKind();
        const FakeWindow captured = w;
        LayoutScaler scaler;
        scaler.CaptureLayout(w);
        for (const auto& [width, height] : {std::pair{4000.0, 3000.0}, {2000.0, 1500.0}, {9000.0, 6000.0}}) {
            w.width = width;
            w.height = height;
            scaler.ScaleLayout(w);
        }
        for (std::size_t i = 0; i < w.controls.size(); ++i)
            for (auto it = captured.controls[i].values.cbegin(); it != captured.controls[i].values.cend();
                 ++it)
                QVERIFY2(qAbs(w.controls[i].values[it.key()] - it.value()) < 0.01, w.controls[i].type);
    }

    void fontsFollowTheHeightOnly() {
        FakeWindow w = everyKind();
        LayoutScaler scaler;
        scaler.CaptureLayout(w);
        w.width = 12000;
        scaler.ScaleLayout(w);
        QCOMPARE(w["TextBox"].values[P::FontSize], 8.0);
        w.height = 6600;
        scaler.ScaleLayout(w);
        QCOMPARE(w["TextBox"].values[P::FontSize], double(6600.0f * (8.0f / 6000.0f)));
        QCOMPARE(qRound(w["SSTab"].values[P::FontObjectSize] * 100), 880);
    }

    void aRefusedOrMissingStepIsSkipped() {
        FakeWindow w = everyKind();
        LayoutScaler scaler;
        scaler.CaptureLayout(w);
        w["TextBox"].refused = {P::Top};
        w.controls.emplace_back("TextBox", box); // came after the capture
        w.width = 18000;
        w.height = 9000;
        scaler.ScaleLayout(w);
        QCOMPARE(w["TextBox"].values[P::Top], 600.0);
        QCOMPARE(w["TextBox"].values[P::Width], 3600.0);
        QCOMPARE(w.controls.back().values, box);
    }

    void aFailingCaptureStopsAtTheControlAndReportsIt() {
        FakeWindow w = everyKind();
        w.controls.emplace(w.controls.begin() + 1, "Shape", QMap<P, double>{{P::Left, 5}});
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
        QVERIFY_THROWS_EXCEPTION(Failure, scaler.CaptureLayout(w));
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
