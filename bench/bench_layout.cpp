// Median time of one ScaleLayout pass over the main window and over a window of 1 000 controls.
#include "app/MainWindow.h"
#include "app/layout/LayoutControl.h"
#include "app/layout/LayoutScaler.h"
#include "app/layout/LayoutWindow.h"
#include "app/qt/QtFileDialogBackend.h"
#include "app/qt/QtMessageBoxes.h"
#include "app/qt/QtShell.h"
#include "os/posix/PosixFileSystemLookups.h"
#include "settings/RegFileStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {
// A label-like control that keeps its values in place.
struct PlainControl : LayoutControl {
    std::array<double, 12> values{120, 600, 900, 300, 8};
    QLatin1String typeName() const override { return QLatin1String("Label"); }
    std::optional<double> read(LayoutProperty p) const override { return values[static_cast<int>(p)]; }
    bool write(LayoutProperty p, double value) override {
        values[static_cast<int>(p)] = value;
        return true;
    }
};

// Another window's controls seen at a client size that alternates from pass to pass.
struct AlternatingWindow : LayoutWindow {
    explicit AlternatingWindow(LayoutWindow& controls) : inner(controls) {}
    int controlCount() const override { return inner.controlCount(); }
    LayoutControl& control(int index) override { return inner.control(index); }
    double clientWidth() const override { return larger ? 14000 : 9540; }
    double clientHeight() const override { return larger ? 9000 : 6270; }
    LayoutWindow& inner;
    bool larger = false;
};

struct PlainWindow : LayoutWindow {
    std::vector<PlainControl> controls = std::vector<PlainControl>(1000);
    int controlCount() const override { return static_cast<int>(controls.size()); }
    LayoutControl& control(int index) override { return controls[static_cast<std::size_t>(index)]; }
    double clientWidth() const override { return 9540; }
    double clientHeight() const override { return 6270; }
};

double medianPassMs(LayoutWindow& controls, int passes) {
    AlternatingWindow window(controls);
    LayoutScaler scaler;
    scaler.CaptureLayout(window);
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < passes; ++i) {
        window.larger = !window.larger;
        timer.start();
        scaler.ScaleLayout(window);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + passes / 2, times.end());
    return times[static_cast<std::size_t>(passes / 2)];
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramState state;
    QtMessageBoxes messages;
    QtFileDialogBackend fileDialogs;
    QtShell shell;
    PosixFileSystemLookups lookups;
    RegFileStore store(dir.path() + QStringLiteral("/registry.reg"));
    MainWindow main(state, AppServices{messages, fileDialogs, shell, store, lookups, dir.path(), [] {},
                                       [] { return QDateTime::currentDateTime(); }, QLocale::system()});
    WidgetLayoutWindow mainControls(main.centralWidget(), main.controls());
    PlainWindow plain;
    std::printf("ScaleLayout, median of one pass (targets: main window < 0.2 ms, 1 000 controls < 2 ms)\n");
    std::printf("  main window (%d controls): %.4f ms\n", mainControls.controlCount(),
                medianPassMs(mainControls, 401));
    std::printf("  1 000 controls: %.4f ms\n", medianPassMs(plain, 401));
    return 0;
}
