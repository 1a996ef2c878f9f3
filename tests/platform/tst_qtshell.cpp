#include "platform/QtShell.h"
#include "platform/RunWindow.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    QString script; // empty: a program that does not exist
    RunEnd::State state;
    QString end, output;
    bool closeBox = false; // else Stop, pressed once the output says "ready"
};
} // namespace
Q_DECLARE_METATYPE(Run)

class TestQtShell : public QObject {
    Q_OBJECT
private slots:
    void theWindowShowsTheRunUntilItEnds_data() {
        using S = RunEnd::State;
        QTest::addColumn<Run>("run");
        QTest::newRow("crash") << Run{"kill -SEGV $$", S::Crashed, "The program ended abnormally.", ""};
        QTest::newRow("no output") << Run{"echo working", S::Finished,
                                          "Finished, but wrote no output (out.txt).", "working\n"};
        QTest::newRow("clean closes itself") << Run{"echo result > out.txt", S::Finished, "", ""};
        QTest::newRow("failed to start") << Run{"", S::FailedToStart, "Failed to start", ""};
        // "é" split across two writes, an error line, and a last line without a line break.
        QTest::newRow("every line whole") << Run{
            "printf 'caf\\303'; sleep 0.2; printf '\\251\\n'; echo oops >&2; sleep 0.2; printf last; exit 3",
            S::Finished, "Finished with exit code 3.", QString::fromUtf8("café\n! oops\nlast")};
        // Stopping ends the whole process group, also a child that ignores the request. The close box
        // (as Esc) stops it too, and the window closes once the run has ended.
        const QString straggler = "(trap '' TERM; exec sleep 60) & echo $! > pid; echo ready; sleep 60";
        QTest::newRow("stop") << Run{straggler, S::Stopped, "Stopped.", "ready\n"};
        QTest::newRow("close box") << Run{straggler, S::Stopped, "", "ready\n", true};
    }
    void theWindowShowsTheRunUntilItEnds() {
        QFETCH(Run, run);
        QTemporaryDir dir;
        // An end counts once it has stayed a tick: a window that closes by itself does so at once.
        QString output, end, shown;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* window = qobject_cast<RunWindow*>(QApplication::activeModalWidget());
            if (!window)
                return;
            output = window->findChild<QPlainTextEdit*>("output")->toPlainText();
            auto* button = window->findChild<QPushButton*>("stop");
            const QString said = window->endText();
            if (said.isEmpty() && output.contains("ready") && button->isEnabled())
                run.closeBox ? void(window->close()) : button->click();
            else if (!said.isEmpty() && said == shown) {
                end = said;
                button->click(); // Close
            }
            shown = said;
        });
        poll.start(10);
        const QString program = run.script.isEmpty() ? "/nonexistent/program" : "/bin/sh";
        QCOMPARE(QtShell().runAndWait(program, {"-c", run.script}, dir.path(), "out.txt").state, run.state);
        QCOMPARE(end.section(": ", 0, 0), run.end); // what follows the colon is the system's reason
        QCOMPARE(output, run.output);
        if (run.state == RunEnd::State::Stopped) { // not even the child that ignored Stop outlives the run
            const QByteArray child = fileBytes(dir.path() + "/pid").trimmed();
            QVERIFY(!child.isEmpty());
            const QRegularExpression running(R"(\) [^ZX] )"); // neither gone nor a zombie
            QTRY_VERIFY(!running.match(QString(fileBytes("/proc/" + child + "/stat"))).hasMatch());
        }
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
