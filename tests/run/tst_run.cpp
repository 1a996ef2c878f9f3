#include "app/TabControl.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QTest>

namespace {
using Answer = MessageBoxes::Answer;
const QString programKey = QStringLiteral("Software\\Quenwick\\Tolvik");
const QString makerKey = QStringLiteral("Software\\Quenwick");

QString stored(WindowFixture& f, const QString& key, const QString& name) {
    const auto value = f.store.readValue(SettingsStore::Root::CurrentUser, key, name);
    return value ? value->text : QStringLiteral("<missing>");
}

// What a run leaves in the store: the input file, its directory and the plot file.
QStringList storedRun(WindowFixture& f) {
    return {stored(f, programKey, "FileIn"), stored(f, programKey, "userPath"),
            stored(f, makerKey, "plotFile")};
}

// Each program started, as a command line; runs are waited for, editors are not.
QStringList started(const WindowFixture& f) {
    QStringList lines;
    for (const FakeShell::Started& run : f.shell.started)
        lines << (run.waited ? "" : "detached ") + (QStringList{run.program} + run.arguments).join(' ') +
                     (run.workingDirectory.isEmpty() ? "" : " in " + run.workingDirectory);
    return lines;
}

// An installation with its run script, and a saved input file, opened in the window unless told not.
void openSaved(WindowFixture& f, const QString& path, bool open = true) {
    QVERIFY(writeFile(f.programDirectory() + "/run-TolW.sh", "exit 0\n"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeFile(path, "arm\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nn\r\nn\r\nN\t\t! 22\r\n"));
    if (open) {
        f.fileDialogs.choosePath(path);
        f.control<QAction>("mnuFileOpen")->trigger();
    }
}

// Where the input file lies, the directory the run is given, and the plot file's name.
struct Place {
    QString directory, userPath, file, plotFile;
};
} // namespace
Q_DECLARE_METATYPE(Place)

class TestRun : public QObject {
    Q_OBJECT

    void submit(WindowFixture& f) { f.control<QAbstractButton>("cmdSubmit")->click(); }

private slots:
    // A waiting row clears Auto-exit; a reopened row has start-up open the file the last session left.
    void aSavedFileRunsFromItsPlace_data() {
        QTest::addColumn<Place>("place");
        QTest::newRow("user") << Place{"<program>/user", "user", "arm.tolv", "arm.plt"};
        QTest::newRow("user/arms, waiting")
            << Place{"<program>/user/arms", "user/arms", "ExNASA.Tod.tolv", "exnasa.tod.plt"};
        QTest::newRow("program directory") << Place{"<program>", "<program>", "arm.tolv", "arm.plt"};
        QTest::newRow("outside") << Place{"<elsewhere>", "<elsewhere>", "Notes", "notes.plt"};
        QTest::newRow("outside, below a copy of the program's path")
            << Place{"<elsewhere><program>/u", "<elsewhere><program>/u", "graph.gif", "graph.gif"};
        QTest::newRow("user, reopened") << Place{"<program>/user", "user", "Graph.PLT", "graph.plt"};
    }
    void aSavedFileRunsFromItsPlace() {
        QFETCH(Place, place);
        auto& [directory, userPath, file, plotFile] = place;
        const QByteArray tag = QTest::currentDataTag();
        WindowFixture f;
        QTemporaryDir elsewhere;
        const QString program = f.programDirectory();
        const QString script = "/bin/sh " + program + "/run-TolW.sh ";
        const QString dir = directory.replace("<elsewhere>", elsewhere.path()).replace("<program>", program);
        userPath.replace("<elsewhere>", elsewhere.path()).replace("<program>", program);
        openSaved(f, dir + "/" + file, !tag.contains("reopened"));
        if (tag.contains("reopened")) {
            f.storeText(programKey, "FileIn", file);
            f.storeText(programKey, "userPath", userPath);
            f.storeText(programKey, "RunCount", "7");
            f.window->Form_Load();
        }
        f.control<QAbstractButton>("AutoExit")->setChecked(!tag.contains("waiting"));
        submit(f);
        const QString ending = tag.contains("waiting") ? " wait in " : " exit in ";
        QCOMPARE(started(f), QStringList{script + file + " " + userPath + ending + dir});
        QVERIFY(QFileInfo(dir + "/output").isDir());
        QCOMPARE(storedRun(f), (QStringList{file, userPath, plotFile}));
        QCOMPARE(stored(f, makerKey, "ProgramPath"), QString("\\Tolvik"));
        QVERIFY(f.messages.log().isEmpty());
        if (dir == program) { // the next run of a file in the program directory passes no directory
            submit(f);
            openSaved(f, program + "/user/b.tolv"); // and any other file keeps its place
            submit(f);
            QCOMPARE(started(f).mid(1), (QStringList{script + "arm.tolv  exit in " + program,
                                                     script + "b.tolv user exit in " + program + "/user"}));
            QCOMPARE(storedRun(f), (QStringList{"b.tolv", "user", "b.plt"}));
        }
    }

    void aRunThatCannotGoOnStartsNothing_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("unsaved, cancelled") << "File -not- saved OR has been modified!"
                                            << "Okay to save 'arm.tolv' now?";
        QTest::newRow("incomplete") << "Missing some data fields"
                                    << "Some fields are Blank, please fill them and submit again";
        QTest::newRow("no run script")
            << "A Tolvik File is missing!"
            << "The run script <program>/run-TolW.sh is missing: nothing was run. Reinstall Tolvik.";
    }
    void aRunThatCannotGoOnStartsNothing() {
        QFETCH(QString, title);
        QFETCH(QString, text);
        const QString cause = QTest::currentDataTag();
        WindowFixture f;
        const QString path = f.programDirectory() + "/user/arm.tolv";
        openSaved(f, path);
        if (cause == "no run script")
            QFile::remove(f.programDirectory() + "/run-TolW.sh");
        else
            f.box(cause == "incomplete" ? "Beta" : "Alpha")->setText(cause == "incomplete" ? "" : "edited");
        f.box("tPause")->setText("6");
        f.messages.script({Answer::Cancel});
        f.control<QAction>("mnuFileSubmit")->trigger();
        QVERIFY(f.shell.started.isEmpty());
        QCOMPARE(f.messages.titles(), QStringList{title});
        QCOMPARE(f.messages.log()[0].text, text.replace("<program>", f.programDirectory()));
        // The pause time is stored once the set is complete, before anything else.
        QCOMPARE(stored(f, makerKey, "tPause"), QString(cause == "incomplete" ? "<missing>" : "6"));
        if (cause == "unsaved, cancelled") { // Ok and a save: it runs what was saved
            f.messages.script({Answer::Ok, Answer::Yes});
            f.fileDialogs.choosePath(path);
            submit(f);
            QCOMPARE(f.shell.started.size(), 1);
            QVERIFY(fileBytes(path).contains("edited"));
        }
    }

    void demoModeRunsExamplesWithoutSavingUntilCancel() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        openSaved(f, f.programDirectory() + "/user/arm.tolv");
        TabControl* tabs = f.window->tabs();
        const auto enabled = [&f, tabs] { // the current tab, the tabs enabled, then the menus
            QString flags = QString::number(tabs->currentIndex()) + ' ';
            for (int tab = 0; tab < 5; ++tab)
                flags += tabs->isTabEnabled(tab) ? '1' : '0';
            flags += ' ';
            for (const char* menu : {"mnuFile", "mnuDemos", "mnuView", "mnuWeb", "mnuHelp"})
                flags += f.control<QAction>(menu)->isEnabled() ? '1' : '0';
            return flags;
        };
        f.box("Alpha")->setText("edited");
        f.messages.script({Answer::Cancel});
        f.control<QAction>("mnuDemosRun")->trigger();
        QCOMPARE(enabled(), QString("0 10111 11111")); // Cancel at the save question: still normal
        f.state.DataChanged = false;
        f.control<QAction>("mnuDemosRun")->trigger();
        QCOMPARE(enabled(), QString("1 01001 00000"));
        QCOMPARE(f.window->focusWidget()->objectName(), QString("Exam(1)"));

        f.box("Alpha")->setText("edited again"); // a demo runs without a word about it
        f.state.DemoFile = "exNASA.1.Tolv";      // only examples run
        f.control<QAbstractButton>("cmdRunDemo")->click();
        f.control<QAbstractButton>("Exam(4)")->click();
        f.control<QAbstractButton>("cmdRunDemo")->click();
        const QString demos = f.programDirectory() + "/demos";
        QCOMPARE(started(f), QStringList{"/bin/sh " + f.programDirectory() +
                                         "/run-TolW.sh ExAlpha.1.Tolv demos exit in " + demos});
        QCOMPARE(storedRun(f), (QStringList{"ExAlpha.1.Tolv", "demos", "exalpha.1.plt"}));
        QCOMPARE(f.messages.log().size(), 1);
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QCOMPARE(f.box("Alpha")->text(), QString("edited again"));

        f.control<QAbstractButton>("cmdCancelDemo")->click();
        QVERIFY(f.state.DemoFile.isEmpty());
        QCOMPARE(enabled(), QString("0 10111 11111"));
    }

    // Both open their file in an editor beside the program directory.
    void theViewMenuShowsAnExampleOrTheLastOutput() {
        WindowFixture f;
        const QString demos = f.programDirectory() + "/demos";
        f.state.ParentPath = f.programDirectory() + "/..";
        f.window->fileDialog().InitDir = "/before";
        f.fileDialogs.cancel();
        f.control<QAction>("mnuViewDemos")->trigger();
        QCOMPARE(f.fileDialogs.requests()[0].title, QString("Open an Example File for illustration"));
        QCOMPARE(f.fileDialogs.requests()[0].initialDirectory, demos);
        QCOMPARE(f.window->fileDialog().InitDir, QString("/before")); // restored after a cancel
        f.fileDialogs.choosePath(demos + "/ExNASA.1.Tolv");
        f.control<QAction>("mnuViewDemos")->trigger();
        QCOMPARE(f.window->fileDialog().InitDir, demos);

        QDir::setCurrent(demos); // where the last run left its output
        f.control<QAction>("mnuViewOutput")->trigger();
        QVERIFY(writeFile(demos + "/~Tolvik.out", "result"));
        f.control<QAction>("mnuViewOutput")->trigger();
        f.shell.startSucceeds = false; // an editor that cannot start is reported
        f.control<QAction>("mnuViewOutput")->trigger();
        QCOMPARE(f.messages.titles(), (QStringList{"'~Tolvik.out' file not found.", "Last Output ..."}));
        QCOMPARE(f.messages.log()[0].text,
                 "Last Output File, ~Tolvik.out, not found.\nPresently you are in the '" + demos +
                     " directory.");
        const QString output = "detached " + QDir::cleanPath(f.programDirectory() + "/../notePad2") + " " +
                               demos + "/~Tolvik.out";
        QCOMPARE(started(f),
                 (QStringList{"detached " + f.state.ParentPath + "/MyEditor.sh " + demos + "/ExNASA.1.Tolv",
                              output, output}));
    }
};

QTEST_MAIN(TestRun)
#include "tst_run.moc"
