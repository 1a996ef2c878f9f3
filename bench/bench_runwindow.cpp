// The run window under a flood of output, offscreen: 200 MB in lines of 80 characters, and one line of
// 1 MB without a line break (and 200 MB in lines of 5 000 bytes), each written by a solver through the
// installation's run script (which also writes the report and keeps a copy) and by the bare solver. Each
// case runs in a process of its own, so that its peak resident memory is its own, and reports the median
// of a few runs: the time through the window, the same command into a pipe, their ratio, and the figures
// against the targets. Targets, through the run script: 200 MB at most 1.5x the pipe and under 64 MB;
// the line of 1 MB at most 0.5 s.
#include "app/RunWindow.h"
#include "app/qt/QtShell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr int runs = 5;
constexpr double ratioTarget = 1.5;
constexpr double memoryTarget = 64;
constexpr double longLineTarget = 0.5;

const QString lines =
    QStringLiteral("yes '%1' | head -c %2").arg(QString(79, QLatin1Char('x'))).arg(200 << 20);
const QString wideLines =
    QStringLiteral("yes '%1' | head -c %2").arg(QString(4999, QLatin1Char('x'))).arg(200 << 20);
const QString longLine = QStringLiteral("head -c %1 /dev/zero | tr '\\0' x").arg(1 << 20);

struct Case {
    const char* name;
    double megabytes;
    const QString& command;
    bool runScript;
};
const Case cases[] = {
    {"200 MB in lines, run script", 200, lines, true},
    {"200 MB in lines of 5000, run script", 200, wideLines, true},
    {"one line of 1 MB, run script", 1, longLine, true},
    {"200 MB in lines, bare solver", 200, lines, false},
    {"one line of 1 MB, bare solver", 1, longLine, false},
};

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Processor time of this process, the window's share of a run: on a busy machine it varies less than
// the elapsed time does.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double secondsIntoPipe(const QString& command) {
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), command + QStringLiteral(" | cat > /dev/null")});
    return clock.elapsed() / 1000.0;
}

// Until the window says how the run ended; it is then closed.
double secondsThroughWindow(const QString& command) {
    QTemporaryDir dir;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [] {
        auto* window = qobject_cast<RunWindow*>(QApplication::activeModalWidget());
        if (window && !window->endText().isEmpty())
            window->findChild<QPushButton*>(QStringLiteral("stop"))->click();
    });
    poll.start(5);
    QElapsedTimer clock;
    clock.start();
    QtShell().runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}, dir.path());
    return clock.elapsed() / 1000.0;
}

// An installation whose solver runs command; answers the command line that runs it through the script.
QString throughRunScript(const QTemporaryDir& dir, const QString& command) {
    const QString program = dir.path() + QStringLiteral("/Tolvik");
    QDir().mkpath(program + QStringLiteral("/solver"));
    QDir().mkpath(program + QStringLiteral("/user"));
    QFile::copy(QStringLiteral(RUN_SCRIPT), program + QStringLiteral("/run-TolW.sh"));
    QFile solver(program + QStringLiteral("/solver/tolvik-solver"));
    if (!solver.open(QIODevice::WriteOnly) || solver.write(("#!/bin/sh\n" + command + "\n").toUtf8()) < 0)
        std::exit(1);
    solver.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QStringLiteral("cd '%1/user' && : > a.tolv && /bin/sh ../run-TolW.sh a.tolv user exit")
        .arg(program);
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

void report(const Case& run) {
    const QTemporaryDir dir;
    const QString command = run.runScript ? throughRunScript(dir, run.command) : run.command;
    std::vector<double> pipe, window, processor;
    for (int i = 0; i < runs; ++i) {
        pipe.push_back(secondsIntoPipe(command));
        const double before = processorSeconds();
        window.push_back(secondsThroughWindow(command));
        processor.push_back(processorSeconds() - before);
    }
    const double ratio = median(window) / median(pipe);
    const double memory = peakMegabytes();
    std::printf("%-36s %6.1f MB/s through the window (%.2f s), %6.1f MB/s into a pipe (%.2f s), ratio %.2f, "
                "the window's processor time %.2f s, peak memory %.0f MB\n",
                run.name, run.megabytes / median(window), median(window), run.megabytes / median(pipe),
                median(pipe), ratio, median(processor), memory);
    if (run.runScript && run.megabytes > 1)
        std::printf("%-36s ratio %.2f <= %.1f %s, peak memory %.0f MB < %.0f MB %s\n", "", ratio, ratioTarget,
                    verdict(ratio <= ratioTarget), memory, memoryTarget, verdict(memory < memoryTarget));
    else if (run.runScript)
        std::printf("%-36s %.2f s <= %.1f s %s\n", "", median(window), longLineTarget,
                    verdict(median(window) <= longLineTarget));
}
} // namespace

// Without an argument, runs every case in a process of its own; with one, the case of that number.
int main(int argc, char* argv[]) {
    // Offscreen unless told otherwise: QT_QPA_PLATFORM=xcb under xvfb-run counts the painting too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        bool number = false;
        const int chosen = arguments[1].toInt(&number);
        if (!number || chosen < 0 || chosen >= int(std::size(cases)))
            return 2;
        report(cases[chosen]);
        return 0;
    }
    std::printf("run window, median of %d runs (targets through the run script: 200 MB <= %.1fx the pipe and "
                "< %.0f MB, the line of 1 MB <= %.1f s)\n",
                runs, ratioTarget, memoryTarget, longLineTarget);
    std::fflush(stdout);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        QProcess::execute(QApplication::applicationFilePath(), {QString::number(i)});
    return 0;
}
