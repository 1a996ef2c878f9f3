// The run window under a flood of output, offscreen: 200 MB in lines of 80 characters, and one line of
// 1 MB without a line break (and 200 MB in lines of 5 000 bytes), each written by a solver through the
// installation's run script (which also writes the report and keeps a copy) and by the bare solver. Reports
// MB/s through the window, the ratio to the same command into a pipe, and the process's peak resident memory.
// Targets, for the run script: at most 2x the pipe, under 150 MB.
#include "platform/QtShell.h"
#include "platform/RunWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <QDir>
#include <QFile>

#include <cstdio>
#include <sys/resource.h>

namespace {
const QString lines =
    QStringLiteral("yes '%1' | head -c %2").arg(QString(79, QLatin1Char('x'))).arg(200 << 20);
const QString wideLines =
    QStringLiteral("yes '%1' | head -c %2").arg(QString(4999, QLatin1Char('x'))).arg(200 << 20);
const QString longLine = QStringLiteral("head -c %1 /dev/zero | tr '\\0' x").arg(1 << 20);

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
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

void report(const char* name, double megabytes, const QString& command) {
    const double pipe = secondsIntoPipe(command);
    const double window = secondsThroughWindow(command);
    std::printf("%-34s %6.1f MB/s through the window (%.2f s), %6.1f MB/s into a pipe, ratio %.2f, "
                "peak memory %.0f MB\n",
                name, megabytes / window, window, megabytes / pipe, window / pipe, peakMegabytes());
}

// An installation whose solver runs command; answers the command line that runs it through the script.
QString throughRunScript(const QTemporaryDir& dir, const QString& command) {
    const QString program = dir.path() + QStringLiteral("/Tolvik");
    QDir().mkpath(program + QStringLiteral("/solver"));
    QDir().mkpath(program + QStringLiteral("/user"));
    QFile::remove(program + QStringLiteral("/run-TolW.sh"));
    QFile::copy(QStringLiteral(RUN_SCRIPT), program + QStringLiteral("/run-TolW.sh"));
    QFile solver(program + QStringLiteral("/solver/tolvik-solver"));
    if (!solver.open(QIODevice::WriteOnly) || solver.write(("#!/bin/sh\n" + command + "\n").toUtf8()) < 0)
        std::exit(1);
    solver.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QStringLiteral("cd '%1/user' && : > a.tolv && /bin/sh ../run-TolW.sh a.tolv user exit")
        .arg(program);
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QTemporaryDir dir;
    report("200 MB in lines, run script", 200, throughRunScript(dir, lines));
    report("200 MB in lines of 5000, run script", 200, throughRunScript(dir, wideLines));
    report("one line of 1 MB, run script", 1, throughRunScript(dir, longLine));
    report("200 MB in lines, bare solver", 200, lines);
    report("one line of 1 MB, bare solver", 1, longLine);
    return 0;
}
