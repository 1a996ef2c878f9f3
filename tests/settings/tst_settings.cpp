#include "core/CommandAbandoned.h"
#include "core/CommandLine.h"
#include "files/ExistenceTests.h"
#include "support/HeldStoreLock.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QSpontaneKeyEvent>
#include <QtTest>
#include <QtWidgets>

namespace {
constexpr auto CU = SettingsStore::Root::CurrentUser;
using Answer = MessageBoxes::Answer;
const QString programKey = QStringLiteral("Software\\Quenwick\\Tolvik");

struct Modules {
    WindowFixture& f;
    RegistryApi api{f.store};
    InstallPaths paths{f.programDirectory()};
    StoredValues stored{f.state, api, f.messages, paths};
    ProgramEnd end{f.state, stored, [this] { ++f.windowsClosed; }};
    int unloads = 0;
    ExistenceTests tests{f.lookups, f.messages, end, [this] { ++unloads; }};
};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    // A count stored at -10 or below is left as it is by a run; from -9 on, runs count again.
    void countsFarBelowZeroStay() {
        QStringList stored;
        for (const int count : {-10, -9}) {
            WindowFixture f;
            f.storeText(programKey, "RunCount", QString::number(count));
            f.window->Form_Load();
            f.control<QAction>("mnuFileExit")->trigger();
            stored << f.storedText(programKey, "RunCount");
        }
        QCOMPARE(stored, (QStringList{"-10", "-8"}));
    }

    void introductionsThinOutAndTheUsersCloseCountsTheRun_data() {
        QTest::addColumn<int>("runCount"); // -1: a clean profile
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("closeBox"); // else the menu's Exit
        // The run count, the introductions shown, and how the user ends the program.
        for (const QString row : {"-1:ABC:exit", "1:ABC:box", "2:BC:exit", "3:C:exit", "5:CD:exit",
                                  "6:D:exit", "7::exit", "32767::box"})
            QTest::newRow(qPrintable(row))
                << row.section(':', 0, 0).toInt() << row.section(':', 1, 1) << row.endsWith("box");
    }
    void introductionsThinOutAndTheUsersCloseCountsTheRun() {
        QFETCH(int, runCount);
        QFETCH(QString, shown);
        QFETCH(bool, closeBox);
        WindowFixture f;
        if (runCount >= 0) {
            f.storeText("Software\\Quenwick", "tPause", "6");
            f.storeText(programKey, "RunCount", QString::number(runCount));
        }
        int saves = 0;
        f.store.setBeforeCommit([&saves] { ++saves; });
        {
            // A start that has nothing to write needs no lock: another program may hold it meanwhile.
            std::optional<HeldStoreLock> held;
            if (runCount >= 2)
                QVERIFY(held.emplace(STORE_HELPER, f.store.filePath()).held());
            f.store.setLockWait(300);
            f.window->Form_Load();
        }
        QCOMPARE(saves, int(runCount < 0) + int(runCount < 2)); // the keys, the file types: one save each
        QVERIFY(f.store.keyExists(CU, "Software\\Quenwick") && f.store.keyExists(CU, programKey));
        QCOMPARE(f.box("tPause")->text(), QString(runCount < 0 ? "20" : "6"));
        QString seen;
        const QStringList introductions = expectedLines("settings/introductions.txt"); // A to D, whole
        for (const QString& message : f.messages.described())
            seen += QChar(int('A' + introductions.indexOf(message)));
        QCOMPARE(seen, shown);
        // Registration belongs to the first two starts only.
        QCOMPARE(f.store.keyExists(SettingsStore::Root::ClassesRoot, ".tolv"), shown.startsWith("A"));
        const auto ended = [&f] {
            return f.storedText(programKey, "RunCount") + " " + QString::number(f.windowsClosed);
        };
        f.messages.clear();
        f.box("Alpha")->setText("unsaved");
        f.window->show();
        QVERIFY(f.window->close()); // the program's own close, as when a failed look-up unloads it
        QCOMPARE(ended(), (runCount < 0 ? "<missing>" : QString::number(runCount)) + " 0");
        f.window->show();
        QCloseEvent closeEvent;
        QSpontaneKeyEvent::setSpontaneous(&closeEvent); // what the window system sends for the close box
        closeBox ? void(QApplication::instance()->notify(f.window.get(), &closeEvent))
                 : f.control<QAction>("mnuFileExit")->trigger();
        QCOMPARE(ended(), QString::number(qBound(1, runCount + 1, 32767)) + " 1");
        QVERIFY(f.messages.log().isEmpty()); // no question about unsaved changes
        f.window->close();                   // the close that ending started does not count again
        QCOMPARE(ended(), QString::number(qBound(1, runCount + 1, 32767)) + " 1");
    }

    // Only the file's name is kept; a stored directory that is absolute or empty gives way to demos. A
    // relative one is kept: tst_filecommands reopens a file from it. A store that cannot be written is
    // reported.
    void lastInputFileInTheStore() {
        QStringList read; // the user path and the parent path
        for (const auto& [fileIn, userPath] :
             {std::pair{"C:\\Work\\arm.tolv", "D:\\Data"}, {"/home/a/arm.tolv", "/data"}, {"arm.tolv", ""}}) {
            WindowFixture f;
            f.storeText(programKey, "FileIn", fileIn);
            f.storeText(programKey, "userPath", userPath);
            QCOMPARE(Modules{f}.stored.GetFileInRegistry(), QString("arm.tolv"));
            read << f.state.UserPath + " " + QString(f.state.ParentPath).remove(f.programDirectory());
        }
        QCOMPARE(read, QStringList(3, "demos /.."));
        WindowFixture f;
        const QString storeDirectory = QFileInfo(f.store.filePath()).absolutePath();
        QDir(storeDirectory).removeRecursively();
        QVERIFY(writeFile(storeDirectory, "")); // a file where the store's directory belongs
        Modules{f}.stored.PutFileInRegistry();
        QFile::remove(storeDirectory);
        const QString corrupt =
            "In 'PutFileInRegistry'|Unexpected error # 1001 occured: Unable to create the "
            "registry key: the folder %1 cannot be made\nIt seems some Registry entry is "
            "corrupt!  Re-installing this \nTolvik™ program is the easiest fix.|Critical|Ok";
        QCOMPARE(f.messages.described(), QStringList{corrupt.arg(storeDirectory)});
    }

    // A directory, then a file, for each path: hidden files, and paths through a file, are not found. A disk
    // error is retried after OK; any other failure is reported, and then dirExists unloads the main window
    // at start-up, while in a command it ends the command alone. -5: no blank after the hash. FileExists
    // ending the program: aFailedStartEndsTheProgramThere.
    void existenceTests() {
        WindowFixture f;
        const QString dir = f.programDirectory(), file = dir + "/demos/a.tolv";
        QVERIFY(writeFile(file, "") && writeFile(dir + "/.hidden.tolv", ""));
        Modules m{f};
        QString found;
        for (const char* path : {"/demos/", "/demos/a.tolv", "/.hidden.tolv", "/demos/a.tolv/x"})
            found += QString("%1%2 ").arg(m.tests.dirExists(dir + path)).arg(m.tests.FileExists(dir + path));
        QCOMPARE(found, QString("10 01 00 00 "));
        f.lookups.lookUpFailures = {Failure{-5, "x"}, Failure{57, "y"}, Failure{71, "x"}, Failure{71, "x"},
                                    Failure{71, "x"}};
        f.messages.script({Answer::Ok, Answer::Ok, Answer::Ok, Answer::Cancel, Answer::Ok});
        {
            const ExistenceTests::DuringStartUp startingUp(m.tests);
            QVERIFY(!m.tests.dirExists(dir));
        }
        QVERIFY_THROWS_EXCEPTION(CommandAbandoned, m.tests.dirExists(dir));
        QCOMPARE(QString("%1 %2").arg(m.unloads).arg(f.windowsClosed), QString("1 0"));
        QVERIFY(!m.tests.FileExists(file)); // failed again after OK, then Cancel
        QVERIFY(m.tests.FileExists(file));  // found after OK
        const QString floppy =
            "In 'FileExists' routine ...|Put a floppy disk in the drive and cloce the drive door."
            "|Exclamation|OkCancel";
        QCOMPARE(f.messages.described(),
                 (QStringList{"In 'dirExists' routine ...|Unexpected error #-5 occured: x|Critical|Ok",
                              "In 'dirExists' routine ...|Unexpected error # 57 occured: y|Critical|Ok"}
                  << QStringList(3, floppy)));
    }

    // A failure is reported, and the steps after it still run.
    void startIniCreatesUserOnlyWhenNoneOfAnyCaseExists() {
        QStringList seen; // the dialogs' directory, the program directory's directories, the messages
        for (const QString existing : {"", "user", "<fails>"}) {
            WindowFixture f;
            if (existing == "<fails>")
                f.lookups.makeDirectoryFailures = {Failure{70, "Permission denied"}};
            else
                QDir().mkpath(f.programDirectory() + "/" + existing);
            Modules m{f};
            StartupCheck(f.state, *f.window, m.tests, f.lookups, f.messages, m.paths).Start_INI();
            seen << (QStringList{f.window->fileDialog().InitDir} +
                     QDir(f.programDirectory()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name) +
                     f.messages.described())
                        .join('|')
                        .replace(f.programDirectory(), "~");
        }
        QCOMPARE(seen,
                 (QStringList{"~|User|demos", "~|demos|user",
                              "~|demos|In 'Start_INI' routine ...|Unexpected error # 70 occured: \nPath =~\n"
                              "Permission denied.  Suggest re-installing Tolvik.|Critical|Ok"}));
    }

    // Ended by a failing step, by a look-up within one, or by a store that cannot be written, a start
    // goes no further; the next one works.
    void aFailedStartEndsTheProgramThere() {
        const QString unexpected =
            "In 'form_load' routine ...|Unexpected error # %1 occured: %2 ... fileTemp = \n"
            " ... fileTempPath = \nappPath = ~\n|Critical|Ok";
        for (const QString failing : {"RunCount", "FileIn", "store"}) {
            WindowFixture f;
            const QString storeDirectory = QFileInfo(f.store.filePath()).absolutePath();
            if (failing == "store") // a file where the store's directory belongs
                QVERIFY(QDir(storeDirectory).removeRecursively() && writeFile(storeDirectory, ""));
            else
                f.storeText(programKey, failing, failing == "FileIn" ? "arm.tolv" : "many");
            f.lookups.passingLookUps = 1; // the directory is found; the file's look-up fails
            f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
            f.window->Form_Load();
            QFile::remove(storeDirectory);
            QCOMPARE(f.messages.described().join('|').replace(f.programDirectory(), "~"),
                     failing == "FileIn" ? "In 'FileExists' routine ...|Unexpected error # 57 occured: "
                                           "Device I/O error|Critical|Ok"
                     : failing == "store"
                         ? unexpected.arg(1001).arg("Unable to create the registry key: the folder " +
                                                    storeDirectory + " cannot be made")
                         : unexpected.arg(13).arg("Type mismatch"));
            QCOMPARE(QString("%1 %2").arg(f.windowsClosed).arg(f.storedText(programKey, "RunCount")),
                     failing == "store" ? "1 <missing>" : "1 1");
            QVERIFY(!QFileInfo::exists(f.programDirectory() + "/User")); // no later step ran
        }
    }

    // A drive that is gone is asked about and tried again; Cancel there ends the program, and a
    // cancelled dialog ends the start-up quietly, the program still running.
    void aMissingDriveAtStartIsTriedAgainUntilCancelled() {
        // The failure's number, the answer, then the windows closed and whether the later steps ran.
        for (const auto& [number, answer, outcome] : {std::tuple{68, Answer::Ok, QString("0 ran")},
                                                      {68, Answer::Cancel, QString("1 ")},
                                                      {32755, Answer::Ok, QString("0 ")}}) {
            WindowFixture f;
            f.storeText(programKey, "RunCount", "7"); // no introductions
            f.lookups.changeDirectoryFailures = {Failure{number, "x"}};
            f.messages.script({answer});
            f.window->Form_Load();
            QCOMPARE(f.messages.described(),
                     number == 68
                         ? QStringList("In 'Form_Load' routine ...|This drive or path does not exist: " +
                                       f.programDirectory() + "|Exclamation|OkCancel")
                         : QStringList());
            QCOMPARE(QString("%1 %2")
                         .arg(f.windowsClosed)
                         .arg(QFileInfo::exists(f.programDirectory() + "/User") ? "ran" : ""),
                     outcome);
        }
    }

    // The number stands a blank apart from "#", a negative one by its sign alone.
    void errorNumbersInMessages() {
        QCOMPARE(unexpectedErrorText({0, "a"}) + '|' + unexpectedErrorText({-1, "b"}),
                 QString("Unexpected error # 0 occured: a|Unexpected error #-1 occured: b"));
    }

    // The run window shows each argument recognisably.
    void commandLineText() {
        QCOMPARE(::commandLineText("run", {"x", "", "say \"hi\""}), QString("run x \"\" \"say \\\"hi\\\"\""));
        // For the command interpreter: each argument quoted, "%" outside the quotes and escaped.
        QCOMPARE(cmdArguments("C:\\T\\run.bat", {"a & b", "50%\"x"}),
                 QString("/S /C \"\"C:\\T\\run.bat\" \"a & b\" \"50\"^%\"x\"\""));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
