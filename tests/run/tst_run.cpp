#include "app/TabControl.h"
#include "run/OutputViewer.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
using Answer = MessageBoxes::Answer;
const QString programKey = QStringLiteral("Software\\Quenwick\\Tolvik");
const QString makerKey = QStringLiteral("Software\\Quenwick");

QString stored(WindowFixture& f, const QString& key, const QString& name) {
    const auto value = f.store.readValue(SettingsStore::Root::CurrentUser, key, name);
    return value ? value->text : QStringLiteral("<missing>");
}

// An installation with its run script, and a saved file opened in the window.
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

    void submit(WindowFixture& f) { f.control<QPushButton>("cmdSubmit")->click(); }

private slots:
    void aSavedFileRunsFromItsPlace_data() {
        QTest::addColumn<QString>("directory"); // relative to the program directory, or absolute
        QTest::addColumn<QString>("userPath");
        QTest::addColumn<bool>("autoExit");
        QTest::newRow("user") << "user"
                              << "user" << true;
        QTest::newRow("user/arms, waiting") << "user/arms"
                                            << "user/arms" << false;
        QTest::newRow("program directory") << ""
                                           << "<program>" << true;
        QTest::newRow("outside") << "/outside"
                                 << "/outside" << true;
        QTest::newRow("outside, below a copy of the program's path") << "/<program>/user"
                                                                     << "/outside" << true;
    }
    void aSavedFileRunsFromItsPlace() {
        QFETCH(QString, directory);
        QFETCH(QString, userPath);
        QFETCH(bool, autoExit);
        WindowFixture f;
        QTemporaryDir elsewhere;
        const QString program = f.programDirectory();
        const QString dir = directory.startsWith('/')
                                ? elsewhere.path() + directory.replace("/<program>", program)
                            : directory.isEmpty() ? program
                                                  : program + "/" + directory;
        userPath = userPath == "<program>" ? program : userPath == "/outside" ? dir : userPath;
        openSaved(f, dir + "/arm.tolv");
        f.control<QCheckBox>("AutoExit")->setChecked(autoExit);
        f.box("tPause")->setText("6");
        submit(f);
        QCOMPARE(f.shell.started.size(), 1);
        const FakeShell::Started& run = f.shell.started[0];
        QVERIFY(run.waited);
        QCOMPARE(run.program, QString("/bin/sh"));
        QCOMPARE(run.arguments,
                 (QStringList{program + "/run-TolW.sh", "arm.tolv", userPath, autoExit ? "exit" : "wait"}));
        QCOMPARE(run.workingDirectory, dir);
        QVERIFY(QFileInfo(dir + "/output").isDir());
        QCOMPARE(stored(f, programKey, "FileIn"), QString("arm.tolv"));
        QCOMPARE(stored(f, programKey, "userPath"), userPath);
        QCOMPARE(stored(f, makerKey, "tPause"), QString("6"));
        QCOMPARE(stored(f, makerKey, "ProgramPath"), QString("\\Tolvik"));
        QCOMPARE(stored(f, makerKey, "plotFile"), QString("arm.plt"));
        QVERIFY(f.messages.log().isEmpty());
        if (directory.isEmpty()) { // the next run of a file in the program directory passes no directory
            submit(f);
            QCOMPARE(f.shell.started[1].arguments[2], QString());
            QVERIFY(QFileInfo(program + "/output").isDir());
            openSaved(f, program + "/user/b.tolv"); // and any other file keeps its place
            submit(f);
            QCOMPARE(f.shell.started[2].arguments.mid(1, 2), (QStringList{"b.tolv", "user"}));
            QCOMPARE(stored(f, programKey, "FileIn"), QString("b.tolv"));
        }
    }

    void theFileReopenedAtStartRunsWhereItLies() {
        WindowFixture f;
        QVERIFY(writeFile(f.programDirectory() + "/run-TolW.sh", "exit 0\n"));
        QDir().mkpath(f.programDirectory() + "/user");
        QVERIFY(writeFile(f.programDirectory() + "/user/arm.tolv",
                          "arm\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"));
        f.storeText(programKey, "FileIn", "arm.tolv");
        f.storeText(programKey, "userPath", "user");
        f.storeText(programKey, "RunCount", "7");
        f.window->Form_Load();
        submit(f);
        QCOMPARE(f.shell.started.size(), 1);
        QCOMPARE(f.shell.started[0].workingDirectory, f.programDirectory() + "/user");
        QCOMPARE(f.shell.started[0].arguments.mid(1, 2), (QStringList{"arm.tolv", "user"}));
    }

    void unsavedDataAskFirst() {
        WindowFixture f;
        openSaved(f, f.programDirectory() + "/user/arm.tolv");
        f.box("Alpha")->setText("edited");
        f.messages.script({Answer::Cancel});
        submit(f);
        QCOMPARE(f.messages.titles(), QStringList{"File -not- saved OR has been modified!"});
        QCOMPARE(f.messages.log()[0].text, QString("Okay to save 'arm.tolv' now?"));
        QVERIFY(f.shell.started.isEmpty());
        QCOMPARE(stored(f, makerKey, "tPause"), QString("20")); // stored before the question

        f.messages.script({Answer::Ok, Answer::Yes});
        f.fileDialogs.choosePath(f.programDirectory() + "/user/arm.tolv");
        submit(f);
        QCOMPARE(f.shell.started.size(), 1);
        QVERIFY(fileBytes(f.programDirectory() + "/user/arm.tolv").contains("edited"));
    }

    void anIncompleteSetStoresAndRunsNothing() {
        WindowFixture f;
        f.box("Beta")->clear();
        f.box("tPause")->setText("9");
        f.control<QAction>("mnuFileSubmit")->trigger();
        QCOMPARE(f.messages.titles(), QStringList{"Missing some data fields"});
        QCOMPARE(stored(f, makerKey, "tPause"), QString("<missing>"));
        QVERIFY(f.shell.started.isEmpty());
    }

    void demosRunFromTheDemoDirectoryWithoutSaving_data() {
        QTest::addColumn<QString>("demo");
        QTest::addColumn<bool>("runs");
        QTest::newRow("example") << "ExNASA.Tod.Tolv" << true;
        QTest::newRow("not an example") << "exNASA.1.Tolv" << false;
        QTest::newRow("none chosen") << "" << false;
    }
    void demosRunFromTheDemoDirectoryWithoutSaving() {
        QFETCH(QString, demo);
        QFETCH(bool, runs);
        WindowFixture f;
        openSaved(f, f.programDirectory() + "/user/arm.tolv");
        f.box("Alpha")->setText("edited");
        f.state.DemoFile = demo;
        f.messages.script({Answer::Cancel});
        f.control<QPushButton>("cmdRunDemo")->click();
        QCOMPARE(f.shell.started.size(), runs ? 1 : 0);
        if (runs) {
            QCOMPARE(f.shell.started[0].arguments.mid(1, 2), (QStringList{demo, "demos"}));
            QCOMPARE(f.shell.started[0].workingDirectory, f.programDirectory() + "/demos");
            QCOMPARE(stored(f, programKey, "FileIn"), demo);
            QCOMPARE(stored(f, programKey, "userPath"), QString("demos"));
            QCOMPARE(stored(f, makerKey, "plotFile"), QString("exnasa.tod.plt"));
            QVERIFY(f.messages.log().isEmpty());
        }
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QCOMPARE(f.box("Alpha")->text(), QString("edited"));
    }

    void demoModeLocksTheMenusUntilCancel() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.box("Alpha")->setText("edited");
        f.state.FileName = "arm.tolv";
        f.messages.script({Answer::Cancel});
        f.control<QAction>("mnuDemosRun")->trigger();
        QVERIFY(!f.window->tabs()->isTabEnabled(1)); // Cancel at the save question: still normal
        f.state.DataChanged = false;
        f.control<QAction>("mnuDemosRun")->trigger();
        const auto menusEnabled = [&f] {
            int enabled = 0;
            for (const char* menu : {"mnuFile", "mnuDemos", "mnuView", "mnuWeb", "mnuHelp"})
                enabled += f.control<QAction>(menu)->isEnabled();
            return enabled;
        };
        QCOMPARE(menusEnabled(), 0);
        TabControl* tabs = f.window->tabs();
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(!tabs->isTabEnabled(0) && !tabs->isTabEnabled(2) && !tabs->isTabEnabled(3) &&
                tabs->isTabEnabled(4));
        QCOMPARE(f.window->focusWidget()->objectName(), QString("Exam(1)"));
        QCOMPARE(f.state.fileTemp, QString("ExNASA.Tod"));
        f.control<QRadioButton>("Exam(4)")->click();
        QCOMPARE(f.state.DemoFile, QString("ExAlpha.1.Tolv"));
        f.control<QPushButton>("cmdCancelDemo")->click();
        QVERIFY(f.state.DemoFile.isEmpty());
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(tabs->isTabEnabled(0) && !tabs->isTabEnabled(1) && tabs->isTabEnabled(2) &&
                tabs->isTabEnabled(3));
        QCOMPARE(menusEnabled(), 5);
    }

    void exampleFilesOpenInTheEditor() {
        WindowFixture f;
        f.state.ParentPath = "/opt/Quenwick";
        f.window->fileDialog().InitDir = "/before";
        f.fileDialogs.cancel();
        f.control<QAction>("mnuViewDemos")->trigger();
        QCOMPARE(f.fileDialogs.requests()[0].title, QString("Open an Example File for illustration"));
        QCOMPARE(f.fileDialogs.requests()[0].initialDirectory, f.programDirectory() + "/demos");
        QCOMPARE(f.fileDialogs.requests()[0].filterIndex, 2);
        QCOMPARE(f.window->fileDialog().InitDir, QString("/before"));
        f.fileDialogs.choosePath(f.programDirectory() + "/demos/ExNASA.1.Tolv");
        f.control<QAction>("mnuViewDemos")->trigger();
        QCOMPARE(f.shell.started.size(), 1);
        QCOMPARE(f.shell.started[0].program, QString("/opt/Quenwick/MyEditor.sh"));
        QCOMPARE(f.shell.started[0].arguments, QStringList{f.programDirectory() + "/demos/ExNASA.1.Tolv"});
        QCOMPARE(f.window->fileDialog().InitDir, f.programDirectory() + "/demos");
    }

    void plotFileNames() {
        WindowFixture f;
        const std::pair<const char*, const char*> names[]{
            {"", "<missing>"},      {"arm.tolv", "arm.plt"},    {"ExNASA.Tod.tolv", "exnasa.tod.plt"},
            {"Notes", "notes.plt"}, {"graph.gif", "graph.gif"}, {"Graph.PLT", "graph.plt"}};
        for (const auto& [name, plotFile] : names) {
            f.window->outputModule().SetPlotFile(name);
            QCOMPARE(stored(f, makerKey, "plotFile"), QString(plotFile));
            QCOMPARE(stored(f, makerKey, "ProgramPath"), QString("\\Tolvik"));
        }
    }

    void lastOutputOpensInTheEditorOrSaysWhereItLooked() {
        WindowFixture f;
        f.state.ParentPath = f.programDirectory() + "/..";
        QDir::setCurrent(f.programDirectory() + "/demos");
        f.control<QAction>("mnuViewOutput")->trigger();
        QCOMPARE(f.messages.titles(), QStringList{"'~Tolvik.out' file not found."});
        QCOMPARE(f.messages.log()[0].text,
                 "Last Output File, ~Tolvik.out, not found.\nPresently you are in the '" +
                     f.programDirectory() + "/demos directory.");
        QVERIFY(writeFile(f.programDirectory() + "/demos/~Tolvik.out", "result"));
        f.control<QAction>("mnuViewOutput")->trigger();
        QCOMPARE(f.shell.started.size(), 1);
        QCOMPARE(f.shell.started[0].program, QDir::cleanPath(f.programDirectory() + "/../notePad2"));
        QCOMPARE(f.shell.started[0].arguments, QStringList{f.programDirectory() + "/demos/~Tolvik.out"});
        f.shell.startSucceeds = false;
        f.control<QAction>("mnuViewOutput")->trigger();
        QCOMPARE(f.messages.log().size(), 2); // an editor that cannot start is reported
    }

    void aMissingRunScriptIsNamed() {
        WindowFixture f;
        openSaved(f, f.programDirectory() + "/user/arm.tolv");
        QFile::remove(f.programDirectory() + "/run-TolW.sh");
        submit(f);
        QVERIFY(f.shell.started.isEmpty());
        QVERIFY(f.messages.log().last().text.contains(f.programDirectory() + "/run-TolW.sh"));
    }
};

QTEST_MAIN(TestRun)
#include "tst_run.moc"
