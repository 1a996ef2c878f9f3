#include "app/TabControl.h"
#include "os/DesktopRegistration.h"
#include "os/ReadOnlyAttribute.h"
#include "os/WholeFileSave.h"
#include "support/FailingSaveCalls.h"
#include "support/FileSizeLimit.h"
#include "support/HeldStoreLock.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedFileAccess.h"
#include "support/WindowFixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {
using Answer = MessageBoxes::Answer;
using Perm = QFileDevice::Permission;
// The questions' titles as they follow in a snapshot.
const QString asked = "|Data in form has changed!", confirm = "|Confirm 'New' Response.";
const QString programKey = "Software\\Quenwick\\Tolvik", makerKey = "Software\\Quenwick";

QByteArray inputFile(const QByteArray& alpha) {
    return "arm  \t\t!* x\r\n" + alpha +
           "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nnote one\r\nnote two\r\nN\t\t! 22\r\n";
}

struct Fixture : WindowFixture {
    Fixture() { QDir().mkpath(at("/user")); }
    QString at(const QString& relative) const { return programDirectory() + relative; }
    void trigger(const char* menuEntry) { control<QAction>(menuEntry)->trigger(); }
    // The file's name and directory (~: the program's), the first answer, the changed mark, message titles.
    QString snapshot() const {
        return (QStringList{state.FileName, QString(state.FilePath).replace(programDirectory(), "~"),
                            box("Alpha")->text(), state.DataChanged ? "changed" : "unchanged"} +
                messages.titles())
            .join('|');
    }
    QString open(const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeFile(path, inputFile("1")); // a failed write shows in the form's answers
        fileDialogs.choosePath(path);
        trigger("mnuFileOpen");
        return path;
    }
    QString openArm() { return open(at("/user/arm.tolv")); }
    QString storedRun() {
        return storedText(programKey, "FileIn") + ' ' + storedText(programKey, "userPath") + ' ' +
               storedText(makerKey, "plotFile");
    }
    // Each program started, as a command line (~: the program directory); runs are waited for, editors
    // are not.
    QStringList started() const {
        QStringList lines;
        for (const FakeShell::Started& run : shell.started)
            lines << QString((run.waited ? "" : "detached ") +
                             (QStringList{run.program} + run.arguments).join(' ') +
                             (run.workingDirectory.isEmpty() ? "" : " in " + run.workingDirectory))
                         .replace(programDirectory(), "~");
        return lines;
    }
};
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    // Open and New ask before they replace changed data; the rows' names begin with the menu entry.
    void replacingTheFormAsksAboutChangedData_data() {
        QTest::addColumn<QString>("answers"); // Yes (S: and the Save As completes), No, Cancel, Ok
        QTest::addColumn<QString>("after");   // Remax (off when disabled), then the snapshot
        const QString opened = "off|other.tolv|~/user||unchanged", typed = "20|arm.tolv|~/user|typed|";
        QTest::newRow("open new data, not asked about") << "" << opened;
        QTest::newRow("open, yes, no save") << "Y" << typed + "changed" + asked;
        QTest::newRow("open, yes, save") << "S" << opened + asked;
        // No says the edits need no saving.
        QTest::newRow("new, no, cancel") << "NC" << typed + "unchanged" + asked + confirm;
        const QString cleared = "off|" + NewDataName + "|" + QDir::currentPath() + "||changed";
        QTest::newRow("new, no, ok") << "NO" << cleared + asked + confirm;
    }
    void replacingTheFormAsksAboutChangedData() {
        QFETCH(QString, answers);
        QFETCH(QString, after);
        Fixture f;
        f.openArm();
        f.box("Remax")->setEnabled(true);
        f.box("Remax")->setText("20");
        f.box("Alpha")->setText("typed");
        if (answers.isEmpty())
            f.state.FileName = NewDataName;
        QVERIFY(writeFile(f.at("/user/other.tolv"), inputFile("-999")));
        for (const QChar answer : answers) // the letters in Answer's order
            f.messages.script({Answer(QString("OCYN").indexOf(answer == 'S' ? QChar('Y') : answer))});
        if (answers == "Y")
            f.fileDialogs.cancel();
        else if (answers == "S")
            f.fileDialogs.choosePath(f.at("/user/kept.tolv"));
        f.fileDialogs.choosePath(f.at("/user/other.tolv"));
        f.trigger(QTest::currentDataTag()[0] == 'o' ? "mnuFileOpen" : "mnuFileNew");
        QCOMPARE(f.box("Remax")->text() + (f.box("Remax")->isEnabled() ? "|" : "off|") + f.snapshot(), after);
        if (answers.size() > 1) // the questions in full
            QCOMPARE(f.messages.described(),
                     (QStringList{asked.mid(1) + "|Save current data?|Question|YesNoCancel",
                                  confirm.mid(1) + "|Okay to Clear responses?|Question|OkCancel"}));
        if (after.contains("other.tolv")) // the empty answer shows red without a message
            QCOMPARE(f.fileDialogs.requests().last().title + "|" + f.box("Note2")->text() + "|" +
                         f.label("Question(0)")->palette().color(QPalette::WindowText).name() + "|" +
                         f.window->fileDialog().InitDir,
                     "Select Response (Input) File to Open|note two|#ff0000|" + f.at("/user"));
    }

    void saveWritesTheCurrentFileOrAsksForOneOrEnds() {
        Fixture f;
        f.state.FileName = NewDataName; // new data have no file: Save asks for one
        f.state.FilePath = f.at("/user");
        f.fileDialogs.choosePath(f.at("/user/arm.tolv"));
        f.trigger("mnuFileSave");
        f.box("Alpha")->setText("changed");
        f.trigger("mnuFileSave");
        const FileDialogRequest request = f.fileDialogs.requests().value(0);
        QCOMPARE((QStringList{QString::number(f.fileDialogs.requests().size()), request.title,
                              request.fileName, request.initialDirectory}),
                 (QStringList{"1", "Save Input File As ...", "New data.Tolv", f.at("/user")}));
        QVERIFY(fileBytes(f.at("/user/arm.tolv")).contains("\r\nchanged  \t\t! 1. "));
        QCOMPARE(f.snapshot(), QString("arm.tolv|~/user|changed|unchanged"));
        // An unexpected failure of the write, or of the look-up before it, is told and ends the save; the
        // program and the answers stay. At start-up such a look-up ends the program (the start-up tests).
        f.fileDialogs.choosePath(f.at("/gone/x.tolv"));
        f.trigger("mnuFileSaveAs");
        f.box("Alpha")->setText("changed again");
        f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
        f.trigger("mnuFileSave");
        QCOMPARE(
            f.messages.described() << QString::number(f.windowsClosed),
            (QStringList{
                "In 'FileSaveAs' routine ...|Unexpected error # 76 occured: Path not found|Critical|Ok",
                "In 'FileExists' routine ...|Unexpected error # 57 occured: Device I/O error|Critical|Ok",
                "0"}));
        QCOMPARE(f.snapshot().section('|', 0, 3), "arm.tolv|~/user|changed again|changed");
        QVERIFY(fileBytes(f.at("/user/arm.tolv")).contains("\r\nchanged  \t\t! 1. "));
    }

    // An Open that reads nothing (a look-up fails, a drive is gone and not retried, the file was removed
    // meanwhile) says why and leaves the answers their own name: a Save afterwards writes them to their
    // file, not over the one that was to be opened.
    void anOpenThatReadsNothingKeepsTheCurrentFile_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QString>("told");
        const QString notFound = " File not found.|Missing 'other.tolv' file?|Exclamation|Ok";
        QTest::newRow("look-up fails") << 57 << "|In 'FileExists' routine ..."
                                       << "In 'FileExists' routine ...|Unexpected error # 57 occured: Device "
                                          "I/O error|Critical|Ok";
        QTest::newRow("drive gone, not retried")
            << 68 << "|In 'FileExists' routine ...| File not found." << notFound;
        QTest::newRow("file removed") << 0 << "| File not found." << notFound;
    }
    void anOpenThatReadsNothingKeepsTheCurrentFile() {
        QFETCH(int, failure);
        QFETCH(QString, seen);
        QFETCH(QString, told);
        Fixture f;
        const QString arm = f.openArm(), other = f.at("/user/other.tolv");
        QVERIFY(writeFile(other, inputFile("9")));
        f.fileDialogs.choosePath(other);
        if (failure)
            f.lookups.lookUpFailures = {Failure::of(failure)};
        else
            f.lookups.vanished = {"other.tolv"};
        f.messages.script({MessageBoxes::Answer::Cancel});
        f.trigger("mnuFileOpen");
        QCOMPARE(f.snapshot() + "|" + QString::number(f.windowsClosed),
                 "arm.tolv|~/user|1|unchanged" + seen + "|0");
        QCOMPARE(f.messages.described().last(), told);
        f.box("Alpha")->setText("changed");
        f.trigger("mnuFileSave");
        QCOMPARE(fileBytes(other), inputFile("9"));
        QVERIFY(fileBytes(arm).contains("\r\nchanged  \t\t! 1. "));
    }

    // A cancelled Save As, Delete or example dialog does nothing: no file is written, nothing is asked.
    void aCancelledDialogDoesNothing() {
        Fixture f;
        f.box("Alpha")->setText("changed");
        const QStringList before =
            QDir(f.at("/user")).entryList(QDir::Files) + QDir(f.at("")).entryList(QDir::Files);
        for (const char* entry : {"mnuFileSaveAs", "mnuFileDelete", "mnuViewDemos"})
            f.trigger(entry); // nothing chosen: each dialog is cancelled
        QCOMPARE(QDir(f.at("/user")).entryList(QDir::Files) + QDir(f.at("")).entryList(QDir::Files), before);
        QCOMPARE(QString("%1 %2 %3")
                     .arg(f.messages.log().size())
                     .arg(f.shell.started.size())
                     .arg(f.fileDialogs.requests().size()),
                 QString("0 0 3"));
    }

    // Read-only: a file without write permission; never a missing one, nor one under a file.
    void readOnlyFiles() {
        QTemporaryDir dir;
        const QString writable = dir.filePath("w"), locked = dir.filePath("r");
        QVERIFY(writeFile(writable, "") && writeFile(locked, "") &&
                QFile::setPermissions(locked, QFile::ReadOwner));
        QString found;
        for (const QString& path : {writable, locked, dir.filePath("gone"), writable + "/x"})
            found += hasReadOnlyAttribute(path) ? '1' : '0';
        QCOMPARE(found, QString("0100"));
        // Another user's file that only its owner may write, as an ordinary user sees it.
        if (::geteuid() == 0) {
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther);
            const UnprivilegedFileAccess user;
            QVERIFY(hasReadOnlyAttribute(writable));
        }
    }

    void aWritableFileIsSavedWhereNoNewFileMayBeMade() {
        QTemporaryDir locked;
        const QString path = locked.path() + "/mine.tolv";
        QVERIFY(writeFile(path, "old"));
        QFile::setPermissions(path, Perm::ReadOwner | Perm::WriteOwner | Perm::ReadOther | Perm::WriteOther);
        QFile::setPermissions(locked.path(),
                              Perm::ReadOwner | Perm::ExeOwner | Perm::ReadOther | Perm::ExeOther);
        const auto removable = qScopeGuard([&] {
            QFile::setPermissions(locked.path(), Perm::ReadOwner | Perm::WriteOwner | Perm::ExeOwner);
        });
        Fixture f;
        // A disk too full for the new contents leaves the old; not replacing cancels Save As.
        f.messages.script({Answer::Yes, Answer::Ok, Answer::No, Answer::Yes, Answer::Yes});
        for (int i = 0; i < 4; ++i)
            f.fileDialogs.choosePath(path);
        {
            const UnprivilegedFileAccess user; // root could make files anywhere
            {
                const FileSizeLimit full(100);
                QVERIFY(!f.window->fileCommands().FileSaveAs());
            }
            QCOMPARE(fileBytes(path), QByteArray("old"));
            QVERIFY(!f.window->fileCommands().FileSaveAs());
            QVERIFY(f.window->fileCommands().FileSaveAs());
            // Growing a file in place reserves what it grows by, no more: room for the new contents
            // is enough.
            const QByteArray saved = fileBytes(path);
            QVERIFY(writeFile(path, "old"));
            const FileSizeLimit exact(saved.size());
            QVERIFY(f.window->fileCommands().FileSaveAs());
            QCOMPARE(fileBytes(path), saved);
        }
        const QString replace =
            "Replace " + path.toLower() + " file?|File exists, want to replace it?|Question|YesNo";
        QCOMPARE(
            f.messages.described(),
            (QStringList{replace,
                         "In 'FileSaveAs' routine ...|Unexpected error # 61 occured: Disk full|Critical|Ok",
                         replace, replace, replace}));
        QVERIFY(fileBytes(path).startsWith("mine  \t\t!* "));
    }

    // Whichever call of a save fails, the file stays whole, the message names the cause, and the program
    // and the answers stay: a quota is a full disk, and a disk that cannot be read no read-only file.
    void aSaveFailingAtAnyCallTellsItsCause() {
        const QString unexpected = "In 'FileSave' routine ...|Unexpected error # ";
        for (const auto& [call, error, told] :
             {std::tuple{"open", EDQUOT, unexpected + "61 occured: Disk full"},
              {"stat", EIO, unexpected + "57 occured: Device I/O error"},
              {"fsync", EIO, unexpected + "57 occured: Device I/O error"},
              {"open", EPERM,
               "File not saved; Error in 'WriteAnsFile' routine.|File Path\\FileName error occured: "}}) {
            Fixture f;
            const QString path = f.openArm(), probe = path + ".probe";
            const QByteArray before = fileBytes(path);
            {
                const FailingSaveCalls none(0, 0);
                QVERIFY(QFile::copy(path, probe) &&
                        WholeFileSave(probe).save("x") == WholeFileSave::Outcome::Saved);
            }
            QVERIFY(QFile::remove(probe));
            f.box("Alpha")->setText("unsaved");
            {
                const FailingSaveCalls failing(FailingSaveCalls::made().indexOf(call) + 1, error);
                f.trigger("mnuFileSave");
            }
            const QString shown = f.messages.described().join('\n').section("\r\n", 0, 0);
            QCOMPARE(shown.section('|', 0, 1) + ' ' + QString::number(f.windowsClosed), told + " 0");
            QCOMPARE(fileBytes(path), before);
            QCOMPARE(QDir(f.at("/user")).entryList(QDir::Files | QDir::Hidden), QStringList{"arm.tolv"});
            QCOMPARE(f.snapshot().section('|', 0, 3), "arm.tolv|~/user|unsaved|changed");
        }
    }

    // Saves that wrote nothing keep the name, file and changed mark, so New and Open still ask. Delete asks
    // first, spares a read-only file, skips a missing one and ends quietly when cancelled.
    void aSaveThatWroteNothingAndDeleteLeaveTheFile() {
        Fixture f;
        const QString path = f.openArm();
        QFile::setPermissions(path, Perm::ReadOwner | Perm::ReadOther);
        f.box("Alpha")->setText("unsaved");
        f.trigger("mnuFileSave");
        f.fileDialogs.choosePath(f.at(QString::fromUtf8("/Ωmega.tolv")));
        f.trigger("mnuFileSaveAs");
        QCOMPARE(QDir(f.programDirectory()).entryList(QDir::Files), QStringList());
        QVERIFY(f.window->windowTitle().startsWith("arm.tolv ... "));
        f.messages.script({Answer::Yes, Answer::No, Answer::Yes});
        QString kept;
        for (int attempt = 0; attempt < 3; ++attempt) {
            f.fileDialogs.choosePath(path);
            f.trigger("mnuFileDelete");
            kept += QFile::exists(path) ? "kept " : "gone ";
            QFile::setPermissions(path, Perm::ReadOwner | Perm::WriteOwner);
        }
        f.fileDialogs.choosePath("/none.tolv"); // the root keeps its slash as the dialog's directory
        f.trigger("mnuFileDelete");
        f.trigger("mnuFileDelete"); // an unscripted dialog is cancelled
        const FileDialogRequest& request = f.fileDialogs.requests()[2];
        QCOMPARE((QStringList{kept, request.title, request.fileName, f.window->fileDialog().InitDir}),
                 (QStringList{"kept kept gone ", "Select File to be Deleted", "arm.tolv", "/"}));
        const QString notSaved =
            "File not saved; Error in 'WriteAnsFile' routine.|File Path\\FileName error occured: "
            "\r\n    Path = %1\r\n    FileName = %2\r\n\r\nIf these are okay then the error may be do "
            "to following:\r\n  Ex*.tolv files in Tolvik's User directory are for 'read-only'.\r\n  "
            "Do not save changes in these Example files.  Save changes under other names.\r\n|Critical|Ok";
        const QString confirm = "Confirm Delete?|Delete '" + path + "' File.|Question|YesNo";
        QCOMPARE(f.messages.described(),
                 (QStringList{notSaved.arg(f.at("/user"), "arm.tolv"),
                              QString::fromUtf8(
                                  "File not saved; Error in 'WriteAnsFile' routine.|The name 'Ωmega.tolv' or "
                                  "an answer holds characters that an input file (Windows-1252) cannot "
                                  "keep.\nNothing was written; save under another name.|Critical|Ok"),
                              confirm, confirm, confirm}));
        QCOMPARE(f.snapshot().section('|', 0, 3), "arm.tolv|~/user|unsaved|changed");
    }

    void startUpReopensTheLastFileButNoExample() {
        QStringList seen;
        for (const QString stored : {"user/arm.tolv", "user/EXnasa.1.tolv", "user/gone/arm.tolv"}) {
            Fixture f;
            QVERIFY(writeFile(f.at("/user/") + stored.section('/', -1), inputFile("from file")));
            f.storeText(programKey, "FileIn", stored.section('/', -1));
            f.storeText(programKey, "userPath", stored.section('/', 0, -2));
            f.storeText(programKey, "RunCount", "7"); // past the introduction
            f.window->Form_Load();
            seen << f.snapshot();
        }
        // A name that was not read lies in the current directory, which start-up made the program's.
        QCOMPARE(seen, (QStringList{"arm.tolv|~/user|from file|unchanged", "|~/user|1|unchanged",
                                    "arm.tolv|~|1|unchanged"}));
    }

    void firstStartsRegisterTheFileTypes() {
        Fixture f;
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QDir().mkpath(config);
        writeFile(config + "/mimeapps.list",
                  "[Default Applications]\ntext/html=firefox.desktop;\n"
                  "application/x-quenwick-tolv=old.desktop;\n\n[Added Associations]\nx=y;\n");
        f.window->Form_Load();
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString apps = data + "/applications/quenwick-";
        const QByteArray defaults = fileBytes(config + "/mimeapps.list"), own = f.programDirectory().toUtf8();
        for (const char* line : {"text/html=firefox.desktop;\n", "[Added Associations]\nx=y;",
                                 "application/x-quenwick-tolv=quenwick-myeditor.desktop;\n",
                                 "application/x-quenwick-plt=quenwick-plotvanes.desktop;\n"})
            QVERIFY2(defaults.contains(line), line);
        QVERIFY(!defaults.contains("old.desktop"));
        QVERIFY(fileBytes(apps + "myeditor.desktop")
                    .contains("Exec=\"" + QDir::cleanPath(f.at("/..")).toUtf8() +
                              "/MyEditor.sh\" %f\nMimeType="
                              "application/x-quenwick-out;application/x-quenwick-tolv;\n"));
        QVERIFY(fileBytes(apps + "tolvik.desktop")
                    .contains("Exec=\"" + own + "/tolvik\"\nIcon=" + own + "/tolvik.svg\n"));
        QCOMPARE(DesktopRegistration::execLine("/a b/$x\\y"), QString("\"/a b/\\\\$x\\\\\\\\y\" %f"));
        // The desktop's caches are refreshed while the program goes on.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data + "/mime/application/x-quenwick-tolv.xml"), 30000);
        QMimeDatabase mimes;
        QCOMPARE((QStringList{mimes.mimeTypeForFile("B.TOLV", QMimeDatabase::MatchExtension).name(),
                              mimes.mimeTypeForFile("run.plt", QMimeDatabase::MatchExtension).name()}),
                 (QStringList{"application/x-quenwick-tolv", "application/x-quenwick-plt"}));
    }

    // Later an incomplete form or a save without its run script runs nothing.
    void aSavedFileRunsFromItsPlace() {
        Fixture f;
        QTemporaryDir elsewhere;
        const QString program = f.programDirectory(), script = program + "/run-TolW.sh";
        const QString outside = elsewhere.path() + program + "/u"; // below a copy of the program's path
        QStringList stores;
        QVERIFY(writeFile(script, "exit 0\n"));
        const auto run = [&](const QString& path, bool wait = false) {
            f.open(path);
            f.control<QAbstractButton>("AutoExit")->setChecked(!wait);
            f.press("cmdSubmit");
            stores << f.storedRun();
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
        QCOMPARE(f.started(), (QStringList{"/bin/sh ~/run-TolW.sh Graph.PLT user/arms wait in ~/user/arms",
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
        // On a file system that tells case, the other spelling was a directory of its own.
        const QString upper = f.installation.path().toUpper();
        if (QFileInfo(upper).canonicalFilePath() != QFileInfo(f.installation.path()).canonicalFilePath()) {
            QDir(upper).removeRecursively();
            QDir().rmdir(upper.section('/', 0, 1));
        }
    }

    // A pause time that cannot be stored (a full disk, another program's lock, a settings file that
    // cannot be read) runs nothing and says why; the input file and the settings file stay byte for byte.
    void aSubmitThatCannotStoreRunsNothing() {
        for (const QString why : {"full", "locked", "unreadable"}) {
            Fixture f;
            QVERIFY(writeFile(f.at("/run-TolW.sh"), "exit 0\n"));
            const QString input = f.openArm();
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
            QCOMPARE(f.started(), QStringList());
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
        Fixture f;
        QVERIFY(writeFile(f.at("/run-TolW.sh"), "exit 0\n"));
        f.openArm();
        const QString demos = f.programDirectory() + "/demos";
        f.state.ParentPath = f.programDirectory() + "/..";
        f.window->fileDialog().InitDir = "/before";
        f.fileDialogs.cancel();
        f.trigger("mnuViewDemos");
        QCOMPARE(f.window->fileDialog().InitDir, QString("/before")); // restored after a cancel
        f.fileDialogs.choosePath(demos + "/ExNASA.1.Tolv");
        f.trigger("mnuViewDemos");
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
        f.trigger("mnuDemosRun");
        QCOMPARE(enabled(), QString("0 10111 11111")); // Cancel at the save question: still normal
        f.trigger("mnuDemosRun");
        QCOMPARE(enabled(), QString("1 01001 00000"));
        f.press("cmdRunDemo"); // none chosen: nothing runs or is stored
        QCOMPARE(f.storedText(programKey, "FileIn"), QString("<missing>"));
        f.box("Alpha")->setText("edited again"); // a demo runs without a word about it
        f.press("Exam(4)");
        f.press("cmdRunDemo");
        QCOMPARE((QStringList{f.storedRun(), f.state.FileName, f.box("Alpha")->text()}),
                 (QStringList{"ExAlpha.1.Tolv demos exalpha.1.plt", "arm.tolv", "edited again"}));
        f.press("cmdCancelDemo"); // no example stays chosen
        QVERIFY(f.state.DemoFile.isEmpty() && !f.control<QAbstractButton>("Exam(4)")->isChecked());
        QCOMPARE(enabled(), QString("0 10111 11111"));
        f.trigger("mnuViewOutput");
        QVERIFY(writeFile(demos + "/~Tolvik.out", "result"));
        f.trigger("mnuViewOutput");
        f.shell.startSucceeds = false; // an editor that cannot start is reported
        f.trigger("mnuViewOutput");
        QCOMPARE(f.messages.titles() << f.messages.log()[2].text,
                 (QStringList{"Data in form has changed!", "Data in form has changed!",
                              "'~Tolvik.out' file not found.", "Last Output ...",
                              "Last Output File, ~Tolvik.out, not found.\nPresently you are in the '" +
                                  demos + " directory."}));
        const QString output = "detached " + f.installation.path() + "/Quenwick/notePad2 ~/demos/~Tolvik.out";
        QCOMPARE(f.started(),
                 (QStringList{"detached ~/../MyEditor.sh ~/demos/ExNASA.1.Tolv",
                              "/bin/sh ~/run-TolW.sh ExAlpha.1.Tolv demos exit in ~/demos", output, output}));
    }

    // A program directory the user cannot write, as a package's: the examples are copied read-only to the
    // user's work area and run there, User lies there, and the stored directory keeps its relative form.
    // Nothing is written in the installation.
    void aReadOnlyInstallationWorksInTheUsersArea() {
        QTemporaryDir home; // the user's own, made as root would not let nobody write it
        const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME"), dataBefore = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_CONFIG_HOME", configBefore);
            qputenv("XDG_DATA_HOME", dataBefore);
        });
        QVERIFY(QDir().mkpath(home.path() + "/config") && QDir().mkpath(home.path() + "/data"));
        const bool root = ::geteuid() == 0;
        if (root)
            QCOMPARE(QProcess::execute("chown", {"-R", "65534:65534", home.path()}), 0);
        {
            Fixture f;
            QVERIFY(writeFile(f.at("/run-TolW.sh"), "exit 0\n"));
            QVERIFY(writeFile(f.at("/demos/ExAlpha.1.Tolv"), inputFile("4")));
            const QString work = home.path() + "/data/Quenwick/Tolvik";
            QCOMPARE(QProcess::execute("chmod", {"-R", "a+rX,a-w", f.programDirectory()}), 0);
            const auto removable = qScopeGuard([&f] {
                QProcess::execute("chmod", {"-R", "u+w", f.programDirectory()});
            });
            QCOMPARE(QProcess::execute("chmod", {"755", f.installation.path(), f.at("/..")}), 0);
            {
                const UnprivilegedFileAccess user;
                f.window->Form_Load();
                QCOMPARE(f.window->fileDialog().InitDir, work);
                f.fileDialogs.cancel();
                f.trigger("mnuViewDemos");
                QCOMPARE(f.fileDialogs.requests().last().initialDirectory, work + "/demos");
                f.trigger("mnuDemosRun");
                f.press("Exam(4)");
                f.press("cmdRunDemo");
                f.press("cmdCancelDemo");
                f.fileDialogs.choosePath(work + "/User/arm.tolv");
                f.trigger("mnuFileSaveAs");
                f.press("cmdSubmit");
            }
            QCOMPARE(f.started(),
                     (QStringList{"/bin/sh ~/run-TolW.sh ExAlpha.1.Tolv demos exit in " + work + "/demos",
                                  "/bin/sh ~/run-TolW.sh arm.tolv User exit in " + work + "/User"}));
            QCOMPARE(f.storedRun().section(' ', 0, 1), QString("arm.tolv User"));
            QCOMPARE(fileBytes(work + "/demos/ExAlpha.1.Tolv"), inputFile("4"));
            QCOMPARE(QFileInfo(work + "/demos/ExAlpha.1.Tolv").permissions() &
                         (Perm::WriteOwner | Perm::WriteGroup | Perm::WriteOther),
                     0);
            QCOMPARE(QDir(f.programDirectory()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     (QStringList{"demos", "run-TolW.sh", "user"}));
            QCOMPARE(QDir(f.at("/demos")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{"ExAlpha.1.Tolv"});
        }
    }

    // An installation whose package brought the desktop entries and types: a first start only points the
    // user's defaults at them, and leaves no copy that would outlive the package.
    // Entries of the same names that start nothing of this installation are not the package's.
    void aPackagedInstallationOnlySetsTheDefaults_data() {
        QTest::addColumn<bool>("packaged");
        QTest::newRow("the package's entries") << true;
        QTest::newRow("entries without a command") << false;
    }
    void aPackagedInstallationOnlySetsTheDefaults() {
        QFETCH(bool, packaged);
        Fixture f;
        QTemporaryDir system;
        const QString parent = QDir::cleanPath(f.at("/.."));
        // The name quoted or not, as a package may write it.
        const QStringList entries{"tolvik|" + f.at("/tolvik"), "myeditor|\"" + parent + "/MyEditor.sh\"",
                                  "plotvanes|" + parent + "/Plotvanes"};
        QVERIFY(QDir().mkpath(system.path() + "/applications") &&
                QDir().mkpath(system.path() + "/mime/packages"));
        for (const QString& entry : entries) {
            QVERIFY(writeFile(entry.section('|', 1).remove('"'), "#!/bin/sh\n"));
            QVERIFY(
                writeFile(system.path() + "/applications/quenwick-" + entry.section('|', 0, 0) + ".desktop",
                          packaged ? "[Desktop Entry]\nExec=" + entry.section('|', 1).toUtf8() + " %f\n"
                                   : QByteArray("[Desktop Entry]\nName=Other\n")));
        }
        QVERIFY(writeFile(system.path() + "/mime/packages/quenwick-tolvik.xml", "<mime-info/>\n"));
        QTemporaryDir user;
        const QByteArray dirsBefore = qgetenv("XDG_DATA_DIRS"), homeBefore = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_DIRS", system.path().toUtf8());
        qputenv("XDG_DATA_HOME", user.path().toUtf8());
        f.window->Form_Load();
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        qputenv("XDG_DATA_DIRS", dirsBefore);
        qputenv("XDG_DATA_HOME", homeBefore);
        const QByteArray defaults = fileBytes(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/mimeapps.list");
        QVERIFY(defaults.contains("application/x-quenwick-tolv=quenwick-myeditor.desktop;\n"));
        QVERIFY(defaults.contains("application/x-quenwick-plt=quenwick-plotvanes.desktop;\n"));
        const QStringList copies =
            QDir(data + "/applications").entryList(QDir::Files) + QDir(data + "/mime").entryList(QDir::Files);
        QCOMPARE(copies.isEmpty(), packaged);
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
