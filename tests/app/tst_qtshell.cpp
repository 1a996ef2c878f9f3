#include "app/RunWindow.h"
#include "app/qt/PlainButtonsStyle.h"
#include "app/qt/QtFileDialogBackend.h"
#include "app/qt/QtMessageBoxes.h"
#include "app/qt/QtShell.h"
#include "core/RefreshPacer.h"
#include "os/ProgramSignals.h"
#include "os/RunProcesses.h"
#include "run/OutputLines.h"
#include "support/TestFiles.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>

// The view keeps the last 10000 lines or 1 MiB, and shows the first 2048 bytes of a line.
namespace {
// Taken once the output says "ready"; Resume lets a script that waits for the file "go" go on.
enum class Action { None, Stop, CloseBox, EndProgram, Resume, ReapWhenEnded };

struct Run {
    QString script; // empty: a program that does not exist
    RunEnd::State state;
    QString end, output;
    Action action = Action::None;
};

// Children that ignore TERM but leave a mark: one in the run's process group, and one that left it
// with setsid and whose parent ended at once (so only the subreaper finds it); and one that simply runs
// on in the background. Each notes its number.
const QString helpers =
    "exec 2> /dev/null\n" // the shell's word on each ended job
    "echo 'trap \"echo $1 >> marks\" TERM; for i in $(seq 60); do sleep 1; done' > looping\n"
    "sh looping group & echo $! >> pids\n"
    "sh -c 'setsid sh looping helper & echo $! >> pids'\n"
    "sleep 60 & echo $! >> pids; echo ready; sleep 60\n";

int signalsCounted = 0;
void countSignal(int) {
    ++signalsCounted;
}
} // namespace
Q_DECLARE_METATYPE(Run)

// Takes the addresses the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened << url.toString(); }

public:
    QStringList opened;
};

// Lets the run's program end, waits without the event loop until it is a zombie, and reaps what the
// shell takes for leftovers.
void reapWhenEnded(QtShell& shell, const QString& dir) {
    const QByteArray pid = fileBytes(dir + "/pid").trimmed();
    QFile(dir + "/go").open(QIODevice::WriteOnly);
    QDeadlineTimer deadline(10000);
    while (!fileBytes("/proc/" + pid + "/stat").contains(") Z ") && !deadline.hasExpired())
        QThread::msleep(5);
    shell.reapOrphans();
}

class TestQtShell : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramSignals> programSignals;

private slots:
    // After QtTest's own handlers, which would take the program's end for a crash.
    void initTestCase() {
        RunProcesses::becomeSubreaper();
        programSignals = std::make_unique<ProgramSignals>();
    }

    void theWindowShowsTheRunUntilItEnds_data() {
        using S = RunEnd::State;
        QTest::addColumn<Run>("run");
        QTest::newRow("crash") << Run{"kill -SEGV $$", S::Crashed, "The program ended abnormally.", ""};
        QTest::newRow("no output") << Run{"echo working", S::Finished,
                                          "Finished, but wrote no output (out.txt).", "working"};
        QTest::newRow("clean closes itself") << Run{"echo result > out.txt", S::Finished, "", ""};
        QTest::newRow("report removed")
            << Run{"rm out.txt", S::Finished, "Finished, but wrote no output (out.txt).", ""};
        // A new report is output whatever its time says (a clock behind, or FAT's two-second times).
        QTest::newRow("new report dated early")
            << Run{"echo result > new; touch -d '1 hour ago' new; mv new out.txt", S::Finished, "", ""};
        QTest::newRow("failed to start") << Run{"", S::FailedToStart, "Failed to start", ""};
        // "é" and CR LF split across two reads, an error line, a Windows-1252 line beside UTF-8 ones, a
        // line too long to show whole, a lone CR that ends a line, a paragraph mark that does not, and a
        // last line without a line break.
        QTest::newRow("every line whole")
            << Run{"printf 'caf\\303'; sleep 0.2; printf '\\251\\r'; sleep 0.2; printf '\\n'; echo oops >&2; "
                   "sleep 0.2;"
                   "printf 'N2 \\273 0.5\\n'; head -c 5000 /dev/zero | tr '\\0' x; printf "
                   "'\\nlone\\rp\\342\\200\\251x\\nlast'; exit 3",
                   S::Finished, "Finished with exit code 3.",
                   QString::fromUtf8("café\n! oops\nN2 » 0.5\n") + QString(2048, 'x') +
                       QString::fromUtf8(" … [line cut here: 5000 bytes in all]\nlone\np\uFFFDx\nlast")};
        // Stop sends TERM to the whole run, then KILL to what is left after the grace; the close box
        // (as Esc) and the program's own end stop it too, and the window then closes once the run has ended.
        // Any amount of output takes a bounded view: the last lines, fewer when they are long, and a note
        // of where the rest is. All kept lines show while an unfinished one follows them.
        QStringList numbers;
        for (int n = 12005 - 10000 + 2; n <= 12005; ++n)
            numbers << QString::number(n);
        QTest::newRow("many lines") << Run{
            "seq 12005; printf ready; until [ -e go ]; do sleep 0.01; done; echo ' go'; exit 1", S::Finished,
            "Finished with exit code 1.", numbers.join('\n') + "\nready go", Action::Resume};
        const QString cut = QString(2048, 'x') + " … [line cut here: 3000 bytes in all]";
        QTest::newRow("long lines") << Run{
            "i=0; while [ $i -lt 600 ]; do head -c 3000 /dev/zero | tr '\\0' x; echo; "
            "i=$((i+1)); done; exit 1",
            S::Finished, "Finished with exit code 1.", QStringList((1 << 20) / 2048, cut).join('\n')};
        QTest::newRow("stop") << Run{helpers, S::Stopped, "Stopped.", "ready", Action::Stop};
        // Leftovers of earlier runs are reaped as the program ends, before the window learns of it: the
        // program's own end stays the window's to tell.
        QTest::newRow("leftovers reaped")
            << Run{"echo $$ > pid; echo ready; until [ -e go ]; do sleep 0.01; done; exit 7", S::Finished,
                   "Finished with exit code 7.", "ready", Action::ReapWhenEnded};
        QTest::newRow("close box") << Run{helpers, S::Stopped, "", "ready", Action::CloseBox};
        QTest::newRow("program ends") << Run{helpers, S::Stopped, "", "ready", Action::EndProgram};
    }
    void theWindowShowsTheRunUntilItEnds() {
        QFETCH(Run, run);
        const QByteArray tag = QTest::currentDataTag();
        QTemporaryDir dir;
        QFile earlier(dir.path() + "/out.txt"); // the report of an earlier run
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier\n") && earlier.flush() &&
                earlier.setFileTime(QDateTime::currentDateTime().addDays(-1), QFile::FileModificationTime));
        earlier.close();
        QtShell shell;
        QApplication::clipboard()->clear();
        bool programEnded = false;
        const auto endProgram = connect(programSignals.get(), &ProgramSignals::endRequested, this,
                                        [&] { shell.endRunThen([&] { programEnded = true; }); });
        // An end counts once it has stayed a tick: a window that closes by itself does so at once.
        QString output, end, shown, copied, elapsed, note, stoppingElapsed;
        bool atEnd = false;
        int closings = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* window = qobject_cast<RunWindow*>(QApplication::activeModalWidget());
            if (!window)
                return;
            auto* view = window->findChild<QPlainTextEdit*>("output");
            output = view->toPlainText();
            auto* button = window->findChild<QPushButton*>("stop");
            const QString said = window->endText();
            if (said.isEmpty() && output.contains("ready") && button->isEnabled() &&
                run.action != Action::None) {
                if (run.action == Action::Stop)
                    button->click();
                else if (run.action == Action::CloseBox)
                    window->close();
                else if (run.action == Action::Resume)
                    QFile(dir.path() + "/go").open(QIODevice::WriteOnly);
                else if (run.action == Action::ReapWhenEnded)
                    reapWhenEnded(shell, dir.path());
                else
                    ::raise(SIGTERM);
                run.action = Action::None;
            } else if (!said.isEmpty() && said == shown && button->text() == "Close") {
                end = said;
                // The report can be copied with the keyboard, and the end is what a screen reader hears.
                view->setFocus();
                QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
                copied = QApplication::clipboard()->text();
                QCOMPARE(window->findChild<QLabel*>("end")->accessibleName(), QString("Run state"));
                elapsed = window->findChild<QLabel*>("elapsed")->text();
                note = window->findChild<QLabel*>("dropped")->text();
                atEnd = view->verticalScrollBar()->value() == view->verticalScrollBar()->maximum();
                // Once the run has ended, Close, Esc and the close box each close the window at once.
                if (++closings > 1)
                    button->click();
                else if (tag == "crash")
                    window->close();
                else if (tag == "no output")
                    QTest::keyClick(window, Qt::Key_Escape);
                else
                    button->click();
            }
            if (said == "Stopping ...")
                stoppingElapsed = window->findChild<QLabel*>("elapsed")->text();
            shown = said;
        });
        poll.start(10);
        const QString program = run.script.isEmpty() ? "/nonexistent/program" : "/bin/sh";
        QCOMPARE(shell.runAndWait(program, {"-c", run.script}, dir.path(), "out.txt").state, run.state);
        disconnect(endProgram);
        QCOMPARE(end.section(": ", 0, 0), run.end); // what follows the colon is the system's reason
        QCOMPARE(output, run.output);
        QVERIFY(atEnd || end.isEmpty()); // the newest line in sight
        QCOMPARE(closings, int(!end.isEmpty()));
        QCOMPARE(note, tag.endsWith(" lines")
                           ? "Earlier lines are not shown here. The whole report is in out.txt in " +
                                 dir.path() + "."
                           : QString());
        QCOMPARE(copied, end.isEmpty() ? QString() : output);
        QCOMPARE(programEnded, tag == "program ends");
        const QString stopTimes = elapsed + " / " + stoppingElapsed; // seconds, on through a stop's grace
        const QRegularExpression stopped("^Elapsed: [2-9] s / Elapsed: [1-9] s$");
        QVERIFY2(tag != "stop" || stopped.match(stopTimes).hasMatch(), qPrintable(stopTimes));
        QCOMPARE(elapsed.isEmpty(), end.isEmpty() || tag == "failed to start"); // no time, not a wrong one
        if (run.state == RunEnd::State::Stopped) { // nothing of the run outlives it, and TERM came first
            const QList<QByteArray> pids = fileBytes(dir.path() + "/pids").trimmed().split('\n');
            QCOMPARE(pids.size(), 3);
            const QRegularExpression running(R"(\) [^ZX] )"); // neither gone nor a zombie
            for (const QByteArray& pid : pids)
                QVERIFY2(!running.match(QString(fileBytes("/proc/" + pid + "/stat"))).hasMatch(), pid);
            const QList<QByteArray> marks = fileBytes(dir.path() + "/marks").trimmed().split('\n');
            QCOMPARE(QSet<QByteArray>(marks.begin(), marks.end()), (QSet<QByteArray>{"group", "helper"}));
        }
    }

    // The view is refreshed at most every 100 ms; after a slow refresh the next waits ten times as long,
    // however much output comes meanwhile.
    void slowRefreshesComeSeldomer() {
        RefreshPacer pacer([] {});
        QList<int> intervals;
        for (const qint64 spent : {0, 10, 11, 80, 3}) {
            pacer.refreshed(spent);
            pacer.schedule();
            intervals << (pacer.scheduled() ? pacer.interval() : -1);
            pacer.cancel();
        }
        QCOMPARE(intervals, (QList<int>{100, 100, 110, 800, 100}));
        // One refresh for what came, and none due after it while nothing more comes.
        int refreshes = 0;
        RefreshPacer counted([&refreshes] { ++refreshes; });
        counted.schedule();
        counted.schedule();
        QTRY_COMPARE(refreshes, 1);
        QVERIFY(!counted.scheduled());
    }

    // Each signal that ends the program is given back as it was found: one ignored at start (nohup)
    // ends nothing while the program runs nor after, and one with a handler of its own has it again.
    void signalsAreLeftAsTheyWereFound_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("ignored");
        for (const auto& [name, number] : {std::pair{"TERM", SIGTERM}, {"HUP", SIGHUP}, {"INT", SIGINT}})
            for (const bool ignored : {true, false})
                QTest::addRow("%s %s", name, ignored ? "ignored" : "handled") << number << ignored;
    }
    void signalsAreLeftAsTheyWereFound() {
        QFETCH(int, number);
        QFETCH(bool, ignored);
        programSignals.reset();
        struct sigaction outer {
        }, found{}, after{};
        found.sa_handler = ignored ? SIG_IGN : countSignal;
        ::sigaction(number, &found, &outer);
        const auto restore = qScopeGuard([&] {
            ::sigaction(number, &outer, nullptr);
            programSignals = std::make_unique<ProgramSignals>();
        });
        signalsCounted = 0;
        int ended = 0;
        {
            ProgramSignals handled;
            connect(&handled, &ProgramSignals::endRequested, this, [&ended] { ++ended; });
            ::raise(number);
            QCoreApplication::processEvents();
        }
        ::sigaction(number, nullptr, &after);
        QVERIFY(after.sa_handler == found.sa_handler);
        ::raise(number);
        QCOMPARE((QList<int>{ended, signalsCounted}), (QList<int>{ignored ? 0 : 1, ignored ? 0 : 1}));
    }

    // A long line is cut after its first 2048 bytes, never inside a UTF-8 character; a byte that cannot
    // begin one is a letter of the DOS code page and stays.
    void longLinesAreCutBetweenCharacters() {
        QStringList last;
        for (const char* rest : {"\xC0\x80xx", "\xC2\xA9xx", "\xF8xx", "\xE2\x82\xACx"}) {
            OutputLines lines;
            lines.add(OutputLines::Channel::Output, QByteArray(2047, 'x') + rest + "\n");
            last << lines.take().lines.value(0).mid(2047, 1);
        }
        QCOMPARE(last, (QStringList{"À", " ", "ø", " "}));
    }

    // A child's end is told, so that what a run left behind can be reaped.
    void aChildsEndIsTold() {
        QSignalSpy ended(programSignals.get(), &ProgramSignals::childEnded);
        ::raise(SIGCHLD);
        QTRY_COMPARE(ended.count(), 1);
    }

    // The program's buttons show their text alone, whatever icons the desktop's style would add, with
    // their access keys underlined as the style shows them.
    void buttonsShowTheirTextAlone() {
        PlainButtonsStyle style;
        QPushButton marked("&Run"), plain("Run");
        for (QPushButton* button : {&marked, &plain}) {
            button->setStyle(&style);
            button->resize(80, 30);
        }
        QVERIFY(marked.grab().toImage() != plain.grab().toImage());
        QDialogButtonBox box;
        box.setStyle(&style);
        box.setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QVERIFY(box.button(QDialogButtonBox::Ok)->icon().isNull() &&
                box.button(QDialogButtonBox::Cancel)->icon().isNull());
    }

    // Before the window is shown, as the introduction is, a message opens in the middle of the screen;
    // Escape answers Cancel.
    void aMessageBeforeTheWindowOpensInTheMiddleOfTheScreen() {
        QWidget window;
        QtMessageBoxes boxes;
        boxes.setParentWindow(&window);
        QPoint middle;
        QString shown;
        QTimer::singleShot(0, [&middle, &shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            middle = box->geometry().center();
            shown = box->windowTitle() + '|' + box->text();
            QTest::keyClick(box, Qt::Key_Escape); // Escape is Cancel where Cancel is offered
        });
        QCOMPARE(boxes.show("Tolvik", "Welcome", MessageBoxes::Icon::None, MessageBoxes::Buttons::OkCancel),
                 MessageBoxes::Answer::Cancel);
        QCOMPARE(shown, QString("Tolvik|Welcome"));
        const QPoint screen = window.screen()->availableGeometry().center();
        QVERIFY2((middle - screen).manhattanLength() <= 4,
                 qPrintable(QString("%1,%2").arg(middle.x()).arg(middle.y())));
    }

    // The file dialog opens in the directory asked for, on the filter asked for ("*.*" lists every file,
    // with a dot or without), with the name proposed; Cancel chooses nothing.
    void theFileDialogOpensAsAsked() {
        QTemporaryDir dir;
        QtFileDialogBackend dialogs;
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.title = "Save Response (Input) File As";
        request.filters = {{"All Files (*.*)", "*.*"}, {"Tolvik Files (*.Tolv)", "*.Tolv"}};
        request.filterIndex = 2;
        request.initialDirectory = dir.path();
        request.fileName = "/elsewhere/arm.tolv";
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            seen << dialog->windowTitle() << dialog->nameFilters() << dialog->selectedNameFilter()
                 << dialog->directory().path() << dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            dialog->reject();
        });
        QVERIFY(!dialogs.choose(request));
        QCOMPARE(seen, (QStringList{"Save Response (Input) File As", "All Files (*)", "Tolvik Files (*.Tolv)",
                                    "Tolvik Files (*.Tolv)", dir.path(), "arm.tolv"}));
    }

    // A document is opened by the desktop's handler of its kind, and only a valid address is handed on.
    void documentsGoToTheirHandler() {
        UrlCatcher handler;
        QDesktopServices::setUrlHandler("tolvik-test", &handler, "open");
        QtShell shell;
        const bool opened = shell.openDocument("tolvik-test:manual");
        QDesktopServices::unsetUrlHandler("tolvik-test");
        QCOMPARE(handler.opened, QStringList{"tolvik-test:manual"});
        QVERIFY(opened);
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
