#include "core/ProgramEnded.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QSpontaneKeyEvent>
#include <QTest>

namespace {
constexpr auto CU = SettingsStore::Root::CurrentUser;
const QString programKey = QStringLiteral("Software\\Quenwick\\Tolvik");

QString storedText(SettingsStore& store, const QString& key, const QString& name) {
    const auto value = store.readValue(CU, key, name);
    return value ? value->text : QStringLiteral("<missing>");
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// The settings modules over a fixture's store, look-ups and fakes.
struct Modules {
    explicit Modules(WindowFixture& f)
        : api(f.store), paths(f.programDirectory()), stored(f.state, api, f.messages, paths),
          end(f.state, stored, [&f] { ++f.windowsClosed; }),
          tests(f.lookups, f.messages, end, [this] { ++unloads; }) {}
    RegistryApi api;
    InstallPaths paths;
    StoredValues stored;
    ProgramEnd end;
    int unloads = 0;
    ExistenceTests tests;
};
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstStartOnACleanProfile() {
        WindowFixture f;
        int saves = 0;
        f.store.setBeforeCommit([&saves] { ++saves; });
        f.window->Form_Load();
        QCOMPARE(saves, 2); // the keys, then the file types
        QVERIFY(f.store.keyExists(CU, "Software\\Quenwick"));
        QVERIFY(f.store.keyExists(CU, programKey));
        QCOMPARE(f.state.FileName, QString());
        QCOMPARE(f.state.UserPath, QString("demos"));
        QCOMPARE(f.state.RunCount, std::int16_t{0});
        QCOMPARE(f.box("tPause")->text(), QString("20"));
        // The file-type registration of the first starts adds the separator in place.
        QCOMPARE(f.state.ParentPath, f.programDirectory() + "/../");
        QCOMPARE(f.state.RunMode, QString(" "));
        QVERIFY(QFileInfo(f.programDirectory() + "/User").isDir());
        QCOMPARE(QDir::currentPath(), f.programDirectory());
        QCOMPARE(f.window->fileDialog().InitDir, f.programDirectory());
        QVERIFY(!f.state.DataChanged);
        QCOMPARE(f.messages.titles(),
                 (QStringList{"Intro to Tolvik™", "Intro to Tolvik™", "Intro to Tolvik™ Demo procedure"}));
        QCOMPARE(
            f.messages.log()[0].text,
            QString("Tolvik™ was created by the 'Vortane' Compiler.  The 'Find' statement is key.  It "
                    "allows one to vary parameters in their math model.\n\nIn Calculus-level programming "
                    "the user/programmer states their equations and an objective function and leaves the "
                    "numerical work to the compiler. This is accomplished thru Automatic "
                    "Differentiation (AD) and Operator Overload techniques."));
        QCOMPARE(
            f.messages.log()[1].text,
            QString("Tolvik™ program determines the best parameter values for a Robot to move from point "
                    "A to point B.  This type of problem may be called an Inverse Problem (IP). This "
                    "algebraic problem states a math model with some unknowns to be found.\n\nIn Calculus "
                    "level programming the user/programmer states their equations and a objective "
                    "function and leaves the numerical work to the compiler.  This is accomplished thru "
                    "Automatic Differentiation (AD) and Operator Overload techniques."));
        // The store file is readable text.
        QFile file(f.store.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("Quenwick Settings Store, format 1\n\n[Software]\n"));
        QVERIFY(text.endsWith("\n[Software\\Quenwick]\n\n[Software\\Quenwick\\Tolvik]\n"));
    }

    void introductionMessagesThinOutWithUse_data() {
        QTest::addColumn<QString>("runCount");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << "0"
                           << "ABC";
        QTest::newRow("1") << "1"
                           << "ABC";
        QTest::newRow("2") << "2"
                           << "BC";
        QTest::newRow("3") << "3"
                           << "C";
        QTest::newRow("5") << "5"
                           << "CD";
        QTest::newRow("6") << "6"
                           << "D";
        QTest::newRow("7") << "7"
                           << "";
    }
    void introductionMessagesThinOutWithUse() {
        QFETCH(QString, runCount);
        QFETCH(QString, shown);
        WindowFixture f;
        f.storeText("Software\\Quenwick", "tPause", "6");
        f.storeText(programKey, "RunCount", runCount);
        int saves = 0;
        f.store.setBeforeCommit([&saves] { ++saves; });
        f.window->Form_Load();
        QCOMPARE(saves, shown.startsWith("A") ? 1 : 0); // the keys were there
        QString seen;
        for (const FakeMessageBoxes::Shown& message : f.messages.log()) {
            QCOMPARE(message.icon, MessageBoxes::Icon::None);
            QCOMPARE(message.buttons, MessageBoxes::Buttons::Ok);
            seen += message.text.startsWith("Tolvik™ was")    ? "A"
                    : message.text.startsWith("Tolvik™ prog") ? "B"
                    : message.text.startsWith("Try a Demo")   ? "C"
                                                              : "D";
        }
        QCOMPARE(seen, shown);
        // Registration belongs to the first two starts only.
        QCOMPARE(f.store.keyExists(SettingsStore::Root::ClassesRoot, ".tolv"), shown.startsWith("A"));
        if (shown.endsWith("D")) {
            QCOMPARE(f.messages.log().last().title, QString("Intro to Tolvik™ Submit procedure"));
            QCOMPARE(
                f.messages.log().last().text,
                QString("Next, try 'File | Open' from menu:\n\n1. Click on 'File' and 'Open';\n2. Select "
                        "an example (ex*.tolv) file;\n3. Click on 'Run' tab; and,\n4. Click on 'Submit "
                        "Run' button; and,\n5. View your results (in ?NotePad?) and Plotvanes.\n\nThese "
                        "steps are equivalent to running a Demo.  Now create your own file with answers "
                        "to Tolvik™ questions and run it.  It's that simple."));
        }
        if (shown.startsWith("C"))
            QVERIFY(f.messages.log().first().text.endsWith("and run it.  It's that simple.  "));
    }

    void storedValuesAreReadAtStart() {
        WindowFixture f;
        f.storeText("Software\\Quenwick", "tPause", "6");
        f.storeText(programKey, "RunCount", "4");
        f.window->Form_Load();
        QCOMPARE(f.box("tPause")->text(), QString("6"));
        QCOMPARE(f.state.RunCount, std::int16_t{4});
    }

    void lastInputFile_data() {
        QTest::addColumn<QString>("fileIn");
        QTest::addColumn<QString>("userPath");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expectedUserPath");
        QTest::newRow("windows directory part") << "C:\\Work\\arm.tolv"
                                                << "user"
                                                << "arm.tolv"
                                                << "user";
        QTest::newRow("linux directory part") << "/home/a/arm.tolv"
                                              << "user"
                                              << "arm.tolv"
                                              << "user";
        QTest::newRow("bare name") << "arm.tolv"
                                   << ""
                                   << "arm.tolv"
                                   << "demos";
        QTest::newRow("drive letter") << "arm.tolv"
                                      << "D:\\Data"
                                      << "arm.tolv"
                                      << "demos";
        QTest::newRow("absolute") << "arm.tolv"
                                  << "/data"
                                  << "arm.tolv"
                                  << "demos";
    }
    void lastInputFile() {
        QFETCH(QString, fileIn);
        QFETCH(QString, userPath);
        QFETCH(QString, fileName);
        QFETCH(QString, expectedUserPath);
        WindowFixture f;
        f.storeText(programKey, "FileIn", fileIn);
        f.storeText(programKey, "userPath", userPath);
        Modules m(f);
        QCOMPARE(m.stored.GetFileInRegistry(), fileName);
        QCOMPARE(f.state.UserPath, expectedUserPath);
        QCOMPARE(f.state.ParentPath, f.programDirectory() + "/..");
    }

    void putFileInRegistryStoresNameAndDirectory() {
        WindowFixture f;
        f.state.FileName = "arm.tolv";
        f.state.UserPath = "user";
        Modules(f).stored.PutFileInRegistry();
        QCOMPARE(storedText(f.store, programKey, "fileIn"), QString("arm.tolv"));
        QCOMPARE(storedText(f.store, programKey, "USERPATH"), QString("user"));
    }

    void putFileInRegistryReportsAStoreThatCannotBeWritten() {
        WindowFixture f;
        QDir().mkpath(QFileInfo(f.store.filePath()).absolutePath() + "/..");
        QDir(QFileInfo(f.store.filePath()).absolutePath()).removeRecursively();
        touch(QFileInfo(f.store.filePath()).absolutePath()); // a file where the store's directory belongs
        Modules(f).stored.PutFileInRegistry();
        QFile::remove(QFileInfo(f.store.filePath()).absolutePath());
        QCOMPARE(f.messages.log().size(), 1);
        QCOMPARE(f.messages.log()[0].title, QString("In 'PutFileInRegistry'"));
        QCOMPARE(f.messages.log()[0].text,
                 QString::fromUtf8(
                     "Unexpected error # 1001 occured: Unable to create the registry key\nIt seems some "
                     "Registry entry is corrupt!  Re-installing this \nTolvik™ program is the easiest fix."));
        QCOMPARE(f.messages.log()[0].icon, MessageBoxes::Icon::Critical);
    }

    void endingTheProgramCountsTheRun_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("4") << "4"
                           << "5";
        QTest::newRow("none") << ""
                              << "1";
        QTest::newRow("largest") << "32767"
                                 << "32767";
    }
    void endingTheProgramCountsTheRun() {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        WindowFixture f;
        if (!stored.isEmpty())
            f.storeText(programKey, "RunCount", stored);
        f.window->Form_Load();
        f.messages.clear();
        f.box("Alpha")->setText("unsaved");
        f.control<QAction>("mnuFileExit")->trigger();
        QCOMPARE(storedText(f.store, programKey, "RunCount"), expected);
        QCOMPARE(f.windowsClosed, 1);
        QVERIFY(f.messages.log().isEmpty()); // no question about unsaved changes
        f.window->close();                   // the close that ending started does not count again
        QCOMPARE(storedText(f.store, programKey, "RunCount"), expected);
    }

    void onlyTheUsersCloseEndsTheProgram() {
        WindowFixture f;
        f.storeText(programKey, "RunCount", "7");
        f.window->Form_Load();
        f.window->show();
        QVERIFY(f.window->close()); // the program's own close, as when a failed look-up unloads it
        QCOMPARE(storedText(f.store, programKey, "RunCount"), QString("7"));
        QCOMPARE(f.windowsClosed, 0);
        f.window->show();
        QCloseEvent closeBox; // what the window system sends for the close box
        QSpontaneKeyEvent::setSpontaneous(&closeBox);
        QApplication::instance()->notify(f.window.get(), &closeBox);
        QVERIFY(closeBox.isAccepted());
        QCOMPARE(storedText(f.store, programKey, "RunCount"), QString("8"));
        QCOMPARE(f.windowsClosed, 1);
    }

    void existenceTests() {
        WindowFixture f;
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + "/empty");
        QDir().mkpath(dir.path() + "/full");
        touch(dir.path() + "/full/a.tolv");
        touch(dir.path() + "/.hidden.tolv");
        Modules m(f);
        ExistenceTests& tests = m.tests;
        QVERIFY(tests.dirExists(dir.path() + "/empty"));
        QVERIFY(tests.dirExists(dir.path() + "/full/"));
        QVERIFY(!tests.dirExists(dir.path() + "/full/a.tolv"));
        QVERIFY(!tests.dirExists(dir.path() + "/none"));
        QVERIFY(tests.FileExists(dir.path() + "/full/a.tolv"));
        QVERIFY(!tests.FileExists(dir.path() + "/.hidden.tolv"));
        QVERIFY(!tests.FileExists(dir.path() + "/full"));
        QVERIFY(!tests.FileExists(dir.path() + "/full/a.tolv/x"));
        QVERIFY(!tests.FileExists(QString()));
        QDir::setCurrent(dir.path() + "/full");
        QVERIFY(tests.FileExists("a.tolv"));
        QVERIFY(f.messages.log().isEmpty());
    }

    void diskErrorsOfferRetryAndAWayOut_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("not ready") << 71 << "Put a floppy disk in the drive and cloce the drive door.";
        QTest::newRow("unavailable") << 68 << "This drive or path does not exist: /media/x/a.tolv";
    }
    void diskErrorsOfferRetryAndAWayOut() {
        QFETCH(int, number);
        QFETCH(QString, text);
        for (const bool file : {true, false}) {
            WindowFixture f;
            Modules m(f);
            const auto test = [&] {
                return file ? m.tests.FileExists("/media/x/a.tolv") : m.tests.dirExists("/media/x/a.tolv");
            };
            // OK retries; the second look-up fails again; Cancel ends the test with false.
            f.lookups.lookUpFailures = {Failure{number, "x"}, Failure{number, "x"}};
            f.messages.script({MessageBoxes::Answer::Ok, MessageBoxes::Answer::Cancel});
            QVERIFY(!test());
            QCOMPARE(f.lookups.lookUps, 2);
            QCOMPARE(f.messages.log().size(), 2);
            const auto& shown = f.messages.log()[0];
            QCOMPARE(shown.title,
                     file ? QString("In 'FileExists' routine ...") : QString("In 'dirExists' routine ..."));
            QCOMPARE(shown.text, text);
            QCOMPARE(shown.icon, MessageBoxes::Icon::Exclamation);
            QCOMPARE(shown.buttons, MessageBoxes::Buttons::OkCancel);
            // After OK the look-up that then succeeds gives the real answer.
            f.lookups.lookUpFailures = {Failure{number, "x"}};
            f.messages.script({MessageBoxes::Answer::Ok});
            QVERIFY(file ? !m.tests.FileExists(f.programDirectory())
                         : m.tests.dirExists(f.programDirectory()));
            QCOMPARE(m.unloads + f.windowsClosed, 0);
        }
    }

    void unexpectedLookUpErrors() {
        WindowFixture f;
        Modules m(f);
        f.lookups.lookUpFailures = {Failure{FailureNumber::DialogCancelled, "Cancel"}};
        QVERIFY(!m.tests.FileExists(f.programDirectory()));
        QVERIFY(f.messages.log().isEmpty());

        f.lookups.lookUpFailures = {Failure{70, "Permission denied"}};
        QVERIFY(!m.tests.dirExists(f.programDirectory()));
        QCOMPARE(f.messages.log().last().title, QString("In 'dirExists' routine ..."));
        QCOMPARE(f.messages.log().last().text, QString("Unexpected error # 70 occured: Permission denied"));
        QCOMPARE(f.messages.log().last().icon, MessageBoxes::Icon::Critical);
        QCOMPARE(m.unloads, 1);
        QCOMPARE(f.windowsClosed, 0);

        f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, m.tests.FileExists("a.tolv"));
        QCOMPARE(f.messages.log().last().title, QString("In 'FileExists' routine ..."));
        QCOMPARE(f.messages.log().last().text, QString("Unexpected error # 57 occured: Device I/O error"));
        QCOMPARE(f.windowsClosed, 1); // the program ended
        QCOMPARE(storedText(f.store, programKey, "RunCount"), QString("1"));
    }

    void startIniCreatesUserOnlyWhenNoneOfAnyCaseExists_data() {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QStringList>("afterwards");
        QTest::newRow("none") << "" << QStringList{"User", "demos"};
        QTest::newRow("User") << "User" << QStringList{"User", "demos"};
        QTest::newRow("user") << "user" << QStringList{"demos", "user"};
        QTest::newRow("USER") << "USER" << QStringList{"USER", "demos"};
    }
    void startIniCreatesUserOnlyWhenNoneOfAnyCaseExists() {
        QFETCH(QString, existing);
        QFETCH(QStringList, afterwards);
        WindowFixture f;
        if (!existing.isEmpty())
            QDir().mkpath(f.programDirectory() + "/" + existing);
        f.state.SaveFailed = true;
        f.state.SolverCount = 5;
        f.state.answers.Answers[0] = "from the record";
        Modules m(f);
        StartupCheck(f.state, *f.window, m.tests, f.lookups, f.messages, m.paths).Start_INI();
        QCOMPARE(QDir(f.programDirectory()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
                 afterwards);
        QVERIFY(!f.state.SaveFailed);
        QCOMPARE(f.state.SolverCount, std::int16_t{0});
        QCOMPARE(f.box("Alpha")->text(), QString("from the record"));
        QCOMPARE(QDir::currentPath(), f.programDirectory());
        QCOMPARE(f.window->fileDialog().InitDir, f.programDirectory());
    }

    void startIniReportsAFailureAndGoesOn() {
        WindowFixture f;
        Modules m(f);
        f.lookups.makeDirectoryFailures = {Failure{70, "Permission denied"}};
        StartupCheck(f.state, *f.window, m.tests, f.lookups, f.messages, m.paths).Start_INI();
        QCOMPARE(f.messages.log().size(), 1);
        QCOMPARE(f.messages.log()[0].title, QString("In 'Start_INI' routine ..."));
        QCOMPARE(f.messages.log()[0].text, "Unexpected error # 70 occured: \nPath =" + f.programDirectory() +
                                               "\nPermission denied.  Suggest re-installing Tolvik.");
        QCOMPARE(QDir::currentPath(), f.programDirectory()); // the steps after the failure still ran
    }

    void startUpFailureEndsTheProgramWithItsMessage() {
        WindowFixture f;
        f.storeText(programKey, "RunCount", "many");
        f.window->Form_Load();
        QCOMPARE(f.messages.log().size(), 1);
        QCOMPARE(f.messages.log()[0].title, QString("In 'form_load' routine ..."));
        QCOMPARE(f.messages.log()[0].text,
                 "Unexpected error # 13 occured: Type mismatch ... fileTemp = \n ... "
                 "fileTempPath = \nappPath = " +
                     f.programDirectory() + "\n");
        QVERIFY(f.window->programEnded());
        QCOMPARE(storedText(f.store, programKey, "RunCount"), QString("1")); // the next start works again
    }

    void startUpEndedByALookUpGoesNoFurther() {
        WindowFixture f;
        QVERIFY(writeFile(f.programDirectory() + "/demos/arm.tolv", "arm\r\n"));
        f.storeText(programKey, "FileIn", "arm.tolv");
        f.lookups.passingLookUps = 1; // the directory is found; the file's look-up fails
        f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
        f.window->Form_Load();
        QCOMPARE(f.messages.titles(), QStringList{"In 'FileExists' routine ..."});
        QVERIFY(f.window->programEnded());
        QCOMPARE(storedText(f.store, programKey, "RunCount"), QString("1"));
        // Neither the directory check nor the file-type registration ran afterwards.
        QVERIFY(!QFileInfo::exists(f.programDirectory() + "/User"));
        QVERIFY(!f.store.keyExists(SettingsStore::Root::ClassesRoot, ".tolv"));
    }

    void editorGetsThePathAsOneArgument() {
        WindowFixture f;
        f.state.ParentPath = "/opt/Quenwick/Tolvik/..";
        EditorLauncher(f.state, f.shell).openInEditor("/home/a user/my arm.tolv");
        QCOMPARE(f.shell.started.size(), 1);
        QCOMPARE(f.shell.started[0].program, QString("/opt/Quenwick/Tolvik/../MyEditor.sh"));
        QCOMPARE(f.shell.started[0].arguments, QStringList{"/home/a user/my arm.tolv"});
        QVERIFY(!f.shell.started[0].waited);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
