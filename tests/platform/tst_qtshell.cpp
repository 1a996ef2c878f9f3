#include "platform/QtShell.h"
#include "platform/RunWindow.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// Watches the run window: once its output holds the marker, presses the key (or Stop); once the run
// has ended, notes what the window said and closes it. Lives as long as seen.
struct Seen : QObject {
    QString output;
    QString end;
};

void drive(Seen* seen, const QString& marker = QString(), int key = 0) {
    auto* poll = new QTimer(seen);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<RunWindow*>(widget);
            if (!window || !window->isVisible())
                continue;
            seen->output = window->findChild<QPlainTextEdit*>("output")->toPlainText();
            auto* button = window->findChild<QPushButton*>("stop");
            if (!window->endText().isEmpty()) {
                seen->end = window->endText();
                button->click();
                poll->stop();
            } else if (!marker.isEmpty() && seen->output.contains(marker) && button->isEnabled()) {
                if (key == Qt::Key_F4)
                    window->close();
                else
                    key ? QTest::keyClick(window, Qt::Key(key)) : button->click();
            }
        }
    });
    poll->start(10);
}

// True while the process exists and has not yet ended.
bool running(const QString& pid) {
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return !fields.contains(") Z ") && !fields.contains(") X ");
}
} // namespace

class TestQtShell : public QObject {
    Q_OBJECT
private slots:
    void theWindowSaysHowTheRunEnded_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("script");
        QTest::addColumn<RunEnd::State>("state");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("output");
        const auto row = [](const char* name, const QString& script, RunEnd::State state, const QString& end,
                            const QString& output, const QString& program = "/bin/sh") {
            QTest::newRow(name) << program << script << state << end << output;
        };
        row("exit code", "echo working; exit 3", RunEnd::State::Finished, "Finished with exit code 3.",
            "working\n");
        row("crash", "kill -SEGV $$", RunEnd::State::Crashed, "The program ended abnormally.", "");
        row("no output", "echo working", RunEnd::State::Finished, "Finished, but wrote no output (out.txt).",
            "working\n");
        row("clean closes itself", "echo result > out.txt", RunEnd::State::Finished, "", "");
        row("failed to start", "", RunEnd::State::FailedToStart, "Failed to start", "",
            "/nonexistent/program");
        // "é" split across two writes, an error line, and a last line without a line break.
        row("every line whole",
            "printf 'caf\\303'; sleep 0.2; printf '\\251\\n'; echo oops >&2; sleep 0.2; printf last; exit 1",
            RunEnd::State::Finished, "Finished with exit code 1.", QString::fromUtf8("café\n! oops\nlast"));
    }
    void theWindowSaysHowTheRunEnded() {
        QFETCH(QString, program);
        QFETCH(QString, script);
        QFETCH(RunEnd::State, state);
        QFETCH(QString, end);
        QFETCH(QString, output);
        QTemporaryDir dir;
        QtShell shell;
        Seen seen;
        drive(&seen);
        QCOMPARE(shell.runAndWait(program, {"-c", script}, dir.path(), "out.txt").state, state);
        QCOMPARE(seen.end.section(": ", 0, 0), end); // what follows the colon is the system's reason
        QCOMPARE(seen.output, output);
    }

    void stopOrEscapeEndsTheProgramAndWhatItStarted_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("stop") << 0;
        QTest::newRow("escape") << int(Qt::Key_Escape);
        QTest::newRow("close box") << int(Qt::Key_F4);
    }
    void stopOrEscapeEndsTheProgramAndWhatItStarted() {
        QFETCH(int, key);
        QtShell shell;
        Seen seen;
        drive(&seen, "ready", key);
        const RunEnd end = shell.runAndWait(
            "/bin/sh", {"-c", "(trap '' TERM; exec sleep 60) & echo $!; echo ready; sleep 60"}, QString());
        QCOMPARE(end.state, RunEnd::State::Stopped);
        const QString childPid = seen.output.section('\n', 0, 0).trimmed();
        QVERIFY(!childPid.isEmpty());
        QTRY_VERIFY(!running(childPid));
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
