#include "platform/QtShell.h"
#include "platform/RunWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// Presses Stop in the run window once the program's output holds the marker.
void stopWhenOutputShows(const QString& marker, QString* seen) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, marker, seen] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<RunWindow*>(widget);
            if (!window)
                continue;
            const QString text = window->findChild<QPlainTextEdit*>("output")->toPlainText();
            if (text.contains(marker)) {
                *seen = text;
                window->findChild<QPushButton*>("stop")->click();
                poll->deleteLater();
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
    void runAndWaitAnswersTheEndState() {
        QtShell shell;
        const RunEnd finished = shell.runAndWait("/bin/sh", {"-c", "echo working; exit 3"}, QDir::tempPath());
        QCOMPARE(finished.state, RunEnd::State::Finished);
        QCOMPARE(finished.exitCode, 3);
        QCOMPARE(shell.runAndWait("/bin/sh", {"-c", "kill -SEGV $$"}, QString()).state,
                 RunEnd::State::Crashed);
        QCOMPARE(shell.runAndWait("/nonexistent/program", {}, QString()).state, RunEnd::State::FailedToStart);
    }

    void stopEndsTheProgramAndWhatItStarted() {
        QtShell shell;
        QString output;
        stopWhenOutputShows("ready", &output);
        const RunEnd end =
            shell.runAndWait("/bin/sh", {"-c", "sleep 60 & echo $!; echo ready; sleep 60"}, QString());
        QCOMPARE(end.state, RunEnd::State::Stopped);
        const QString childPid = output.section('\n', 0, 0).trimmed();
        QVERIFY(!childPid.isEmpty());
        QTRY_VERIFY(!running(childPid));
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
