#include "os/DesktopRegistration.h"
#include "os/ReadOnlyAttribute.h"
#include "os/WholeFileSave.h"
#include "support/FailingSaveCalls.h"
#include "support/FileSizeLimit.h"
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
    QString openArm() {
        const QString path = at("/user/arm.tolv");
        writeFile(path, inputFile("1")); // a failed write shows in the form's answers
        fileDialogs.choosePath(path);
        trigger("mnuFileOpen");
        return path;
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

    // An Open ended by a look-up that fails unexpectedly leaves the answers under their own name: a Save
    // afterwards writes them to their file, not over the one that could not be read.
    // An Open that ends before it reads, told or given up by the user, leaves the answers their own name:
    // a Save must not write them over the file that was to be opened.
    void anOpenEndedBeforeItReadsKeepsTheCurrentFile_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("seen");
        QTest::newRow("look-up fails") << 57 << "arm.tolv|~/user|1|unchanged|In 'FileExists' routine ...|0";
        QTest::newRow("drive gone, not retried")
            << 68 << "arm.tolv|~/user|1|unchanged|In 'FileExists' routine ...| File not found.|0";
    }
    void anOpenEndedBeforeItReadsKeepsTheCurrentFile() {
        QFETCH(int, failure);
        QFETCH(QString, seen);
        Fixture f;
        const QString arm = f.openArm(), other = f.at("/user/other.tolv");
        QVERIFY(writeFile(other, inputFile("9")));
        f.fileDialogs.choosePath(other);
        f.lookups.lookUpFailures = {Failure::of(failure)};
        f.messages.script({MessageBoxes::Answer::Cancel});
        f.trigger("mnuFileOpen");
        QCOMPARE(f.snapshot() + "|" + QString::number(f.windowsClosed), seen);
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

    // A file removed while it is being opened is told missing.
    void aFileRemovedWhileOpeningIsToldMissing() {
        Fixture f;
        const QString other = f.at("/user/other.tolv");
        QVERIFY(writeFile(other, inputFile("9")));
        f.fileDialogs.choosePath(other);
        f.lookups.vanished = {"other.tolv"};
        f.trigger("mnuFileOpen");
        QCOMPARE(f.messages.described(),
                 QStringList(" File not found.|Missing 'other.tolv' file?|Exclamation|Ok"));
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
        f.messages.script({Answer::Yes, Answer::Ok, Answer::No, Answer::Yes});
        for (int i = 0; i < 3; ++i)
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
        }
        const QString replace =
            "Replace " + path.toLower() + " file?|File exists, want to replace it?|Question|YesNo";
        QCOMPARE(
            f.messages.described(),
            (QStringList{replace,
                         "In 'FileSaveAs' routine ...|Unexpected error # 61 occured: Disk full|Critical|Ok",
                         replace, replace}));
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
            f.storeText("Software\\Quenwick\\Tolvik", "FileIn", stored.section('/', -1));
            f.storeText("Software\\Quenwick\\Tolvik", "userPath", stored.section('/', 0, -2));
            f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7"); // past the introduction
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
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
