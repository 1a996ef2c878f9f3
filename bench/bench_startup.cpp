// Start-up to the first window shown on the display, of any kind (an introduction message counts), for
// a first start on a fresh profile and a later one (RunCount 7), against a bare Qt window with a tab
// widget. Runs alternate; medians of at least 7. Needs a real display: run it under xvfb-run.
//   bench_startup TOLVIK BARE_WINDOW [RUNS]
#include "settings/RegDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
enum class Start { Bare, First, Later };

// A fresh HOME and XDG directories; for a later start, a settings store of a program used seven times.
QProcessEnvironment profile(const QTemporaryDir& dir, Start start) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"home", "config", "data"})
        QDir().mkpath(dir.path() + QLatin1Char('/') + QLatin1String(name));
    env.insert(QStringLiteral("HOME"), dir.path() + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + QStringLiteral("/data"));
    if (start == Start::Later) {
        RegDocument store;
        store.createKey(QStringLiteral("Software\\Quenwick\\Tolvik"));
        store.setValue(QStringLiteral("Software\\Quenwick\\Tolvik"), QStringLiteral("RunCount"),
                       StoredValue::ofText(QStringLiteral("7")));
        QDir().mkpath(dir.path() + QStringLiteral("/config/Quenwick"));
        QFile file(dir.path() + QStringLiteral("/config/Quenwick/registry.reg"));
        if (!file.open(QIODevice::WriteOnly) || file.write(store.serialize()) < 0)
            std::exit(1);
    }
    return env;
}

// Milliseconds from the start of the process to the first window it maps.
double timeToFirstWindow(Display* display, const QString& program, Start start) {
    QTemporaryDir dir;
    QProcess process;
    process.setProcessEnvironment(profile(dir, start));
    XSync(display, True); // drops every earlier event
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    double ms = -1;
    while (timer.elapsed() < 20000) {
        if (XPending(display) == 0) {
            QThread::usleep(200);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            ms = timer.nsecsElapsed() / 1e6;
            break;
        }
    }
    process.kill();
    process.waitForFinished();
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return 2;
    const int runs = std::max(7, args.size() > 3 ? args[3].toInt() : 9);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench_startup needs a display (run it under xvfb-run)\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> bare, first, later;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(timeToFirstWindow(display, args[2], Start::Bare));
        first.push_back(timeToFirstWindow(display, args[1], Start::First));
        later.push_back(timeToFirstWindow(display, args[1], Start::Later));
    }
    XCloseDisplay(display);
    const double yardstick = median(bare);
    std::printf("start-up to the first window, median of %d (targets: first start <= 1.5x, later <= 1.2x)\n",
                runs);
    std::printf("  bare Qt window with tabs: %.1f ms\n", yardstick);
    std::printf("  first start (fresh profile): %.1f ms (%.2fx)\n", median(first), median(first) / yardstick);
    std::printf("  later start (RunCount 7): %.1f ms (%.2fx)\n", median(later), median(later) / yardstick);
    return 0;
}
