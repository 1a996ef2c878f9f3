#include "platform/CommandLine.h"
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
using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
const QString programKey = QStringLiteral("Software\\Quenwick\\Tolvik");

QString stored(WindowFixture& f, const QString& name) {
    const auto value = f.store.readValue(CU, programKey, name);
    return value ? value->text : QStringLiteral("<missing>");
}

// Title and text of the only message shown, or how many there were.
QStringList onlyMessage(const WindowFixture& f) {
    if (f.messages.log().size() != 1)
        return {QString("%1 messages").arg(f.messages.log().size())};
    return {f.messages.log()[0].title, f.messages.log()[0].text};
}

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

// The introduction messages A to D, title and text.
const QList<QStringList> introductions{
    {"Intro to Tolvik™",
     "Tolvik™ was created by the 'Vortane' Compiler.  The 'Find' statement is key.  It allows one to vary "
     "parameters in their math model.\n\nIn Calculus-level programming the user/programmer states their "
     "equations and an objective function and leaves the numerical work to the compiler. This is "
     "accomplished thru Automatic Differentiation (AD) and Operator Overload techniques."},
    {"Intro to Tolvik™",
     "Tolvik™ program determines the best parameter values for a Robot to move from point A to point B.  "
     "This type of problem may be called an Inverse Problem (IP). This algebraic problem states a math "
     "model with some unknowns to be found.\n\nIn Calculus level programming the user/programmer states "
     "their equations and a objective function and leaves the numerical work to the compiler.  This is "
     "accomplished thru Automatic Differentiation (AD) and Operator Overload techniques."},
    {"Intro to Tolvik™ Demo procedure",
     "Try a Demo for starters:\n\n1. Click on 'Demo' in Tolvik™ menu line;\n2. Click 'Run Demo';\n3. "
     "Select a demo file; and,\n4. Click 'Run Demo' button.\n5. View your results (in NotePad) and "
     "XYplots.\n\nThese steps are equivalent to running a Demo.  Now create your own file with answers to "
     "Tolvik™ questions and run it.  It's that simple.  "},
    {"Intro to Tolvik™ Submit procedure",
     "Next, try 'File | Open' from menu:\n\n1. Click on 'File' and 'Open';\n2. Select an example "
     "(ex*.tolv) file;\n3. Click on 'Run' tab; and,\n4. Click on 'Submit Run' button; and,\n5. View your "
     "results (in ?NotePad?) and Plotvanes.\n\nThese steps are equivalent to running a Demo.  Now create "
     "your own file with answers to Tolvik™ questions and run it.  It's that simple."}};
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void introductionsThinOutAndTheUsersCloseCountsTheRun_data() {
        QTest::addColumn<int>("runCount"); // -1: a clean profile
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("saves");
        QTest::addColumn<bool>("closeBox");                                      // else the menu's Exit
        QTest::newRow("firstStartOnACleanProfile") << -1 << "ABC" << 2 << false; // the keys, the file types
        QTest::newRow("1") << 1 << "ABC" << 1 << true;
        QTest::newRow("2") << 2 << "BC" << 0 << false;
        QTest::newRow("3") << 3 << "C" << 0 << false;
        QTest::newRow("5") << 5 << "CD" << 0 << false;
        QTest::newRow("6") << 6 << "D" << 0 << false;
        QTest::newRow("7") << 7 << "" << 0 << false;
        QTest::newRow("onlyTheUsersCloseEndsTheProgram, largest") << 32767 << "" << 0 << true;
    }
    void introductionsThinOutAndTheUsersCloseCountsTheRun() {
        QFETCH(int, runCount);
        QFETCH(QString, shown);
        QFETCH(int, saves);
        QFETCH(bool, closeBox);
        const QString after = QString::number(qBound(1, runCount + 1, 32767));
        WindowFixture f;
        if (runCount >= 0) {
            f.storeText("Software\\Quenwick", "tPause", "6");
            f.storeText(programKey, "RunCount", QString::number(runCount));
        }
        int commits = 0;
        f.store.setBeforeCommit([&commits] { ++commits; });
        f.window->Form_Load();
        QCOMPARE(commits, saves);
        QVERIFY(f.store.keyExists(CU, "Software\\Quenwick") && f.store.keyExists(CU, programKey));
        QCOMPARE(f.box("tPause")->text(), QString(runCount < 0 ? "20" : "6"));
        QString seen;
        for (const FakeMessageBoxes::Shown& message : f.messages.log()) {
            QVERIFY(message.icon == Icon::None && message.buttons == Buttons::Ok);
            seen += QChar(int('A' + introductions.indexOf(QStringList{message.title, message.text})));
        }
        QCOMPARE(seen, shown);
        // Registration belongs to the first two starts only.
        QCOMPARE(f.store.keyExists(SettingsStore::Root::ClassesRoot, ".tolv"), shown.startsWith("A"));

        f.messages.clear();
        f.box("Alpha")->setText("unsaved");
        f.window->show();
        QVERIFY(f.window->close()); // the program's own close, as when a failed look-up unloads it
        QCOMPARE(stored(f, "RunCount"), runCount < 0 ? QString("<missing>") : QString::number(runCount));
        QCOMPARE(f.windowsClosed, 0);
        f.window->show();
        QCloseEvent closeEvent;
        QSpontaneKeyEvent::setSpontaneous(&closeEvent); // what the window system sends for the close box
        if (closeBox)
            QApplication::instance()->notify(f.window.get(), &closeEvent);
        else
            f.control<QAction>("mnuFileExit")->trigger();
        QCOMPARE(stored(f, "RunCount"), after);
        QCOMPARE(f.windowsClosed, 1);
        QVERIFY(f.messages.log().isEmpty()); // no question about unsaved changes
        f.window->close();                   // the close that ending started does not count again
        QCOMPARE(stored(f, "RunCount"), after);
    }

    // Only the file's name is kept; a stored directory that is absolute or empty gives way to demos. A
    // relative one is kept: tst_filecommands reopens a file from it.
    void lastInputFile() {
        QStringList read; // the user path and the parent path
        for (const auto& [fileIn, userPath] :
             {std::pair{"C:\\Work\\arm.tolv", "D:\\Data"}, {"/home/a/arm.tolv", "/data"}, {"arm.tolv", ""}}) {
            WindowFixture f;
            f.storeText(programKey, "FileIn", fileIn);
            f.storeText(programKey, "userPath", userPath);
            QCOMPARE(Modules(f).stored.GetFileInRegistry(), QString("arm.tolv"));
            read << f.state.UserPath + " " + QString(f.state.ParentPath).remove(f.programDirectory());
        }
        QCOMPARE(read, QStringList(3, "demos /.."));
    }

    void putFileInRegistryReportsAStoreThatCannotBeWritten() {
        WindowFixture f;
        const QString storeDirectory = QFileInfo(f.store.filePath()).absolutePath();
        QDir(storeDirectory).removeRecursively();
        QVERIFY(writeFile(storeDirectory, "")); // a file where the store's directory belongs
        Modules(f).stored.PutFileInRegistry();
        QFile::remove(storeDirectory);
        QCOMPARE(onlyMessage(f),
                 (QStringList{"In 'PutFileInRegistry'",
                              "Unexpected error # 1001 occured: Unable to create the registry key\nIt seems "
                              "some Registry entry is corrupt!  Re-installing this \nTolvik™ program is the "
                              "easiest fix."}));
        QCOMPARE(f.messages.log()[0].icon, Icon::Critical);
    }

    // A directory, then a file, for each path: hidden files, and paths through a file, are not found.
    void existenceTests() {
        WindowFixture f;
        const QString dir = f.programDirectory();
        QVERIFY(writeFile(dir + "/demos/a.tolv", "") && writeFile(dir + "/.hidden.tolv", ""));
        Modules m(f);
        QString found;
        for (const char* path : {"/demos/", "/demos/a.tolv", "/.hidden.tolv", "/demos/a.tolv/x"})
            found += QString("%1%2 ").arg(m.tests.dirExists(dir + path)).arg(m.tests.FileExists(dir + path));
        QCOMPARE(found, QString("10 01 00 00 "));
    }

    void lookUpFailures_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("file");
        QTest::addColumn<QStringList>("texts"); // of the messages shown
        QTest::newRow("disk not ready, retried, then cancelled, file")
            << 71 << true << QStringList(2, "Put a floppy disk in the drive and cloce the drive door.");
        QTest::newRow("unexpected, dir") << 70 << false << QStringList{"Unexpected error # 70 occured: x"};
    }
    // FileExists ending the program: aFailedStartEndsTheProgramThere.
    void lookUpFailures() {
        QFETCH(int, number);
        QFETCH(bool, file);
        QFETCH(QStringList, texts);
        WindowFixture f;
        Modules m(f);
        const QString path = f.programDirectory() + (file ? "/a.tolv" : "");
        QVERIFY(writeFile(f.programDirectory() + "/a.tolv", ""));
        const auto test = [&] { return file ? m.tests.FileExists(path) : m.tests.dirExists(path); };
        // A disk error is retried after OK, fails again, and Cancel answers false.
        f.lookups.lookUpFailures = {Failure{number, "x"}, Failure{number, "x"}};
        f.messages.script({MessageBoxes::Answer::Ok, MessageBoxes::Answer::Cancel});
        QVERIFY(!test());
        QCOMPARE(f.lookups.lookUps, qMax(texts.size(), 1));
        const QString title = QString("In '%1' routine ...").arg(file ? "FileExists" : "dirExists");
        const auto [icon, buttons] = number == 70 ? std::pair{Icon::Critical, Buttons::Ok}
                                                  : std::pair{Icon::Exclamation, Buttons::OkCancel};
        QStringList shown;
        for (const FakeMessageBoxes::Shown& message : f.messages.log()) {
            QVERIFY(message.title == title && message.icon == icon && message.buttons == buttons);
            shown << message.text;
        }
        QCOMPARE(shown, texts);
        QCOMPARE(m.unloads, number == 70 ? 1 : 0); // dirExists unloads the main window
        QCOMPARE(f.windowsClosed, 0);
        // After OK the look-up that then succeeds gives the real answer.
        f.lookups.lookUpFailures = {Failure{number, "x"}};
        f.messages.script({MessageBoxes::Answer::Ok});
        QCOMPARE(test(), texts.size() == 2);
    }

    void startIniCreatesUserOnlyWhenNoneOfAnyCaseExists_data() {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QStringList>("afterwards");
        QTest::newRow("none") << "" << QStringList{"User", "demos"};
        QTest::newRow("user") << "user" << QStringList{"demos", "user"};
        QTest::newRow("startIniReportsAFailureAndGoesOn") << "<fails>" << QStringList{"demos"};
    }
    void startIniCreatesUserOnlyWhenNoneOfAnyCaseExists() {
        QFETCH(QString, existing);
        QFETCH(QStringList, afterwards);
        WindowFixture f;
        const bool fails = existing == "<fails>";
        if (fails)
            f.lookups.makeDirectoryFailures = {Failure{70, "Permission denied"}};
        else
            QDir().mkpath(f.programDirectory() + "/" + existing);
        Modules m(f);
        StartupCheck(f.state, *f.window, m.tests, f.lookups, f.messages, m.paths).Start_INI();
        QCOMPARE(QDir(f.programDirectory()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
                 afterwards);
        QCOMPARE(onlyMessage(f),
                 (fails ? QStringList{"In 'Start_INI' routine ...",
                                      "Unexpected error # 70 occured: \nPath =" + f.programDirectory() +
                                          "\nPermission denied.  Suggest re-installing Tolvik."}
                        : QStringList{"0 messages"}));
        QCOMPARE(f.window->fileDialog().InitDir, f.programDirectory()); // the last step runs after a failure
    }

    // Ended by a failing step, or by a look-up within one, a start goes no further.
    void aFailedStartEndsTheProgramThere() {
        for (const bool lookUp : {false, true}) {
            WindowFixture f;
            QVERIFY(writeFile(f.programDirectory() + "/demos/arm.tolv", "arm\r\n"));
            f.storeText(programKey, lookUp ? "FileIn" : "RunCount", lookUp ? "arm.tolv" : "many");
            f.lookups.passingLookUps = 1; // the directory is found; the file's look-up fails
            f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
            f.window->Form_Load();
            QCOMPARE(
                onlyMessage(f).join('|').remove(f.programDirectory()),
                QString(lookUp
                            ? "In 'FileExists' routine ...|Unexpected error # 57 occured: Device I/O error"
                            : "In 'form_load' routine ...|Unexpected error # 13 occured: Type mismatch ... "
                              "fileTemp = \n ... fileTempPath = \nappPath = \n"));
            QVERIFY(f.window->programEnded());
            QCOMPARE(f.windowsClosed, 1);
            QCOMPARE(stored(f, "RunCount"), QString("1")); // the next start works again
            QVERIFY(!QFileInfo::exists(f.programDirectory() + "/User"));
            QVERIFY(!f.store.keyExists(SettingsStore::Root::ClassesRoot, ".tolv"));
        }
    }

    // A negative number follows the hash without a blank; the run window shows each argument recognisably.
    void textsForTheUser() {
        QCOMPARE(unexpectedErrorText(Failure{-5, "File not found"}),
                 QString("Unexpected error #-5 occured: File not found"));
        QCOMPARE(commandLineText("run", {"x", "", "say \"hi\""}), QString("run x \"\" \"say \\\"hi\\\"\""));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
