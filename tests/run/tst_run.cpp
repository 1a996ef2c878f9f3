#include "app/TabControl.h"
#include "support/FileSizeLimit.h"
#include "support/HeldStoreLock.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedFileAccess.h"
#include "support/WindowFixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {
using Answer = MessageBoxes::Answer;
const QString programKey = QStringLiteral("Software\\Quenwick\\Tolvik");
const QString makerKey = QStringLiteral("Software\\Quenwick");

QString storedRun(WindowFixture& f) {
    return f.storedText(programKey, "FileIn") + ' ' + f.storedText(programKey, "userPath") + ' ' +
           f.storedText(makerKey, "plotFile");
}

// Each program started, as a command line (~: the program directory); runs are waited for, editors are not.
QStringList started(const WindowFixture& f) {
    QStringList lines;
    for (const FakeShell::Started& run : f.shell.started)
        lines << QString((run.waited ? "" : "detached ") +
                         (QStringList{run.program} + run.arguments).join(' ') +
                         (run.workingDirectory.isEmpty() ? "" : " in " + run.workingDirectory))
                     .replace(f.programDirectory(), "~");
    return lines;
}

void openSaved(WindowFixture& f, const QString& path) {
    QVERIFY(writeFile(f.programDirectory() + "/run-TolW.sh", "exit 0\n"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeFile(path, "arm\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nn\r\nn\r\nN\t\t! 22\r\n"));
    f.fileDialogs.choosePath(path);
    f.control<QAction>("mnuFileOpen")->trigger();
}
} // namespace

class TestRun : public QObject {
    Q_OBJECT
private slots:
    // Later an incomplete form or a save without its run script runs nothing.
    void aSavedFileRunsFromItsPlace() {
        WindowFixture f;
        QTemporaryDir elsewhere;
        const QString program = f.programDirectory(), script = program + "/run-TolW.sh";
        const QString outside = elsewhere.path() + program + "/u"; // below a copy of the program's path
        QStringList stores;
        const auto run = [&](const QString& path, bool wait = false) {
            openSaved(f, path);
            f.control<QAbstractButton>("AutoExit")->setChecked(!wait);
            f.press("cmdSubmit");
            stores << storedRun(f);
        };
        run(program + "/user/arms/Graph.PLT", true);
        run(program + "/graph.gif"); // its next run passes no directory
        f.press("cmdSubmit");
        run(outside + "/Notes"); // and any other file keeps its place
        QCOMPARE(stores, (QStringList{"Graph.PLT user/arms graph.plt", "graph.gif " + program + " graph.gif",
                                      "Notes " + outside + " notes.plt"}));
        f.box("tPause")->setText("6");
        f.box("Alpha")->clear(); // incomplete: not even asked about saving
        f.press("cmdSubmit");
        f.box("Alpha")->setText("edited");
        QVERIFY(QFile::remove(script));
        f.fileDialogs.choosePath(outside + "/saved.tolv");
        f.press("cmdSubmit");
        QCOMPARE(f.storedText(makerKey, "ProgramPath"), QString("\\Tolvik"));
        QCOMPARE(f.storedText(makerKey, "tPause"), QString("6")); // stored although nothing ran
        const QString away = elsewhere.path() + "~/u"; // outside, with the copy of the program's path
        QCOMPARE(started(f), (QStringList{"/bin/sh ~/run-TolW.sh Graph.PLT user/arms wait in ~/user/arms",
                                          "/bin/sh ~/run-TolW.sh graph.gif ~ exit in ~",
                                          "/bin/sh ~/run-TolW.sh graph.gif  exit in ~",
                                          "/bin/sh ~/run-TolW.sh Notes " + away + " exit in " + away}));
        QCOMPARE(
            f.messages.titles() << f.messages.log()[1].text << f.messages.log()[2].text,
            (QStringList{"Missing some data fields", "File -not- saved OR has been modified!",
                         "A Tolvik File is missing!", "Okay to save 'Notes' now?",
                         "The run script " + script + " is missing: nothing was run. Reinstall Tolvik."}));
        // The program directory written in other case is still the program directory.
        QVERIFY(writeFile(script, "exit 0\n"));
        run(program.toUpper() + "/USER/Case.tolv");
        QCOMPARE(stores.last(), QString("Case.tolv USER case.plt"));
        // A current file that is gone counts as never saved: Submit asks to save it first.
        QVERIFY(QFile::remove(program.toUpper() + "/USER/Case.tolv"));
        const qsizetype runs = f.shell.started.size();
        f.messages.script({Answer::Cancel});
        f.press("cmdSubmit");
        QCOMPARE(f.messages.described().last(),
                 "File -not- saved OR has been modified!|Okay to save 'Case.tolv' now?|Question|OkCancel");
        QCOMPARE(f.shell.started.size(), runs);
    }

    // A pause time that cannot be stored (a full disk, another program's lock, a settings file that
    // cannot be read) runs nothing and says why; the input file and the settings file stay byte for byte.
    void aSubmitThatCannotStoreRunsNothing() {
        for (const QString why : {"full", "locked", "unreadable"}) {
            WindowFixture f;
            const QString input = f.programDirectory() + "/user/arm.tolv";
            openSaved(f, input);
            f.store.setLockWait(300);
            f.storeText(makerKey, "tPause", "20");
            f.storeText("Software\\Other", "Kept",
                        QString(300, 'k')); // another program's, larger than a lock file
            const QByteArray inputBefore = fileBytes(input), storeBefore = fileBytes(f.store.filePath());
            f.box("tPause")->setText("7777");
            const auto permissions = QFile::permissions(f.store.filePath());
            {
                std::optional<HeldStoreLock> held;
                if (why == "locked")
                    QVERIFY(held.emplace(STORE_HELPER, f.store.filePath()).held());
                const FileSizeLimit full(why == "full" ? storeBefore.size() : RLIM_INFINITY);
                std::optional<UnprivilegedFileAccess> user;
                if (why == "unreadable") {
                    QFile::setPermissions(f.store.filePath(), {});
                    user.emplace();
                }
                f.press("cmdSubmit");
            }
            QFile::setPermissions(f.store.filePath(), permissions);
            const QString cause = why == "full"     ? " cannot be saved: Disk full"
                                  : why == "locked" ? " is locked by another program"
                                                    : " cannot be read";
            QCOMPARE(started(f), QStringList());
            // A store it cannot read shows no key: the submit's own creation of it fails first.
            const QString what = why == "unreadable" ? "create the registry key" : "write the registry value";
            QCOMPARE(f.messages.described(),
                     QStringList{"In 'FileRun2' routine ...|Unexpected error # 1001 occured: Unable to " +
                                 what + ": " + f.store.filePath() + cause +
                                 "\nThe settings could not be stored: nothing was run.|Critical|Ok"});
            QCOMPARE(fileBytes(input), inputBefore);
            QCOMPARE(fileBytes(f.store.filePath()), storeBefore);
        }
    }

    // Examples and the last output of a demo are opened in editors beside the program directory.
    void examplesAreViewedAndRunInDemoModeWithoutSaving() {
        WindowFixture f;
        openSaved(f, f.programDirectory() + "/user/arm.tolv");
        const QString demos = f.programDirectory() + "/demos";
        f.state.ParentPath = f.programDirectory() + "/..";
        f.window->fileDialog().InitDir = "/before";
        f.fileDialogs.cancel();
        f.control<QAction>("mnuViewDemos")->trigger();
        QCOMPARE(f.window->fileDialog().InitDir, QString("/before")); // restored after a cancel
        f.fileDialogs.choosePath(demos + "/ExNASA.1.Tolv");
        f.control<QAction>("mnuViewDemos")->trigger();
        const FileDialogRequest& request = f.fileDialogs.requests().last();
        QCOMPARE((QStringList{request.title, request.initialDirectory, f.window->fileDialog().InitDir,
                              request.filters.value(request.filterIndex - 1).pattern}),
                 (QStringList{"Open an Example File for illustration", demos, demos, "ex*.*"}));
        const auto enabled = [&f] { // the current tab, the tabs enabled, then the menus
            QString flags = QString::number(f.window->tabs()->currentIndex()) + ' ';
            for (int tab = 0; tab < 5; ++tab)
                flags += QString(f.window->tabs()->isTabEnabled(tab) ? "1" : "0") + (tab == 4 ? " " : "");
            for (const char* menu : {"mnuFile", "mnuDemos", "mnuView", "mnuWeb", "mnuHelp"})
                flags += f.control<QAction>(menu)->isEnabled() ? '1' : '0';
            return flags;
        };
        f.box("Alpha")->setText("edited");
        f.messages.script({Answer::Cancel, Answer::No});
        f.control<QAction>("mnuDemosRun")->trigger();
        QCOMPARE(enabled(), QString("0 10111 11111")); // Cancel at the save question: still normal
        f.control<QAction>("mnuDemosRun")->trigger();
        QCOMPARE(enabled(), QString("1 01001 00000"));
        f.press("cmdRunDemo"); // none chosen: nothing runs or is stored
        QCOMPARE(f.storedText(programKey, "FileIn"), QString("<missing>"));
        f.box("Alpha")->setText("edited again"); // a demo runs without a word about it
        f.press("Exam(4)");
        f.press("cmdRunDemo");
        QCOMPARE((QStringList{storedRun(f), f.state.FileName, f.box("Alpha")->text()}),
                 (QStringList{"ExAlpha.1.Tolv demos exalpha.1.plt", "arm.tolv", "edited again"}));
        f.press("cmdCancelDemo"); // no example stays chosen
        QVERIFY(f.state.DemoFile.isEmpty() && !f.control<QAbstractButton>("Exam(4)")->isChecked());
        QCOMPARE(enabled(), QString("0 10111 11111"));
        f.control<QAction>("mnuViewOutput")->trigger();
        QVERIFY(writeFile(demos + "/~Tolvik.out", "result"));
        f.control<QAction>("mnuViewOutput")->trigger();
        f.shell.startSucceeds = false; // an editor that cannot start is reported
        f.control<QAction>("mnuViewOutput")->trigger();
        QCOMPARE(f.messages.titles() << f.messages.log()[2].text,
                 (QStringList{"Data in form has changed!", "Data in form has changed!",
                              "'~Tolvik.out' file not found.", "Last Output ...",
                              "Last Output File, ~Tolvik.out, not found.\nPresently you are in the '" +
                                  demos + " directory."}));
        const QString output = "detached " + f.installation.path() + "/Quenwick/notePad2 ~/demos/~Tolvik.out";
        QCOMPARE(started(f),
                 (QStringList{"detached ~/../MyEditor.sh ~/demos/ExNASA.1.Tolv",
                              "/bin/sh ~/run-TolW.sh ExAlpha.1.Tolv demos exit in ~/demos", output, output}));
    }
};

QTEST_MAIN(TestRun)
#include "tst_run.moc"
