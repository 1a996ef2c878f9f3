#include "files/DesktopRegistration.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QMimeDatabase>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "support/TestFiles.h"
#include "support/UnprivilegedFileAccess.h"

namespace {
using Answer = MessageBoxes::Answer;
using Buttons = MessageBoxes::Buttons;
using Perm = QFileDevice::Permission;
const QString asked = "Data in form has changed!", confirm = "Confirm 'New' Response.";

QByteArray inputFile(const QByteArray& alpha) {
    return "arm  \t\t!* x\r\n" + alpha +
           "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nnote one\r\nnote two\r\nN\t\t! 22\r\n";
}

void checkShown(const FakeMessageBoxes::Shown& shown, const QString& title, const QString& text,
                Buttons buttons) {
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.buttons, buttons);
}

struct Fixture : WindowFixture {
    QString at(const QString& relative) const { return programDirectory() + relative; }
    void trigger(const char* menuEntry) { control<QAction>(menuEntry)->trigger(); }
    // The current file's name and directory (~ for the program's), the first answer, whether the data
    // changed and the titles of the messages shown, to compare at once.
    QStringList snapshot() const {
        return QStringList{state.FileName, QString(state.FilePath).replace(programDirectory(), "~"),
                           box("Alpha")->text(), state.DataChanged ? "changed" : "unchanged"} +
               messages.titles();
    }
    // Opens user/arm.tolv, so that the window holds a file of its own.
    QString openArm() {
        const QString path = at("/user/arm.tolv");
        QDir().mkpath(at("/user"));
        if (!writeFile(path, inputFile("1")))
            qFatal("cannot write the input file");
        fileDialogs.choosePath(path);
        trigger("mnuFileOpen");
        return path;
    }
};
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    // Open and New ask before they replace changed data.
    void replacingTheFormAsksAboutChangedData_data() {
        QTest::addColumn<QString>("menuEntry");
        QTest::addColumn<QString>("answers"); // Yes (S: and the Save As completes), No, Cancel, Ok
        QTest::addColumn<QStringList>("after");
        const QString open = "mnuFileOpen";
        const QStringList opened{"other.tolv", "~/user", "", "unchanged"};
        QTest::newRow("open new data, not asked about") << open << "" << opened;
        QTest::newRow("open, cancel")
            << open << "C" << QStringList{"arm.tolv", "~/user", "typed", "changed", asked};
        QTest::newRow("open, no") << open << "N" << opened + QStringList{asked};
        QTest::newRow("open, yes, then cancel the save")
            << open << "Y" << QStringList{"arm", "~/user", "typed", "changed", asked};
        QTest::newRow("open, yes, then save") << open << "S" << opened + QStringList{asked};
        // No says the edits need no saving.
        QTest::newRow("new, no, then cancel")
            << "mnuFileNew"
            << "NC" << QStringList{"arm.tolv", "~/user", "typed", "unchanged", asked, confirm};
        QTest::newRow("new, no, then ok")
            << "mnuFileNew"
            << "NO" << QStringList{NewDataName, QDir::currentPath(), "", "changed", asked, confirm};
    }
    void replacingTheFormAsksAboutChangedData() {
        QFETCH(QString, menuEntry);
        QFETCH(QString, answers);
        QFETCH(QStringList, after);
        Fixture f;
        f.openArm();
        f.box("Remax")->setEnabled(true);
        f.box("Remax")->setText("20");
        f.box("Alpha")->setText("typed");
        if (answers.isEmpty())
            f.state.FileName = NewDataName;
        QVERIFY(writeFile(f.at("/user/other.tolv"), inputFile("-999")));
        for (const QChar answer : answers)
            f.messages.script({answer == 'N'   ? Answer::No
                               : answer == 'C' ? Answer::Cancel
                               : answer == 'O' ? Answer::Ok
                                               : Answer::Yes});
        if (answers == "Y")
            f.fileDialogs.cancel();
        else if (answers == "S")
            f.fileDialogs.choosePath(f.at("/user/kept.tolv"));
        f.fileDialogs.choosePath(f.at("/user/other.tolv"));
        f.trigger(menuEntry.toLatin1());
        QCOMPARE(f.snapshot(), after);
        QCOMPARE(QFile::exists(f.at("/user/kept.tolv")), answers == "S");
        if (answers.size() > 0) {
            checkShown(f.messages.log()[0], asked, "Save current data?", Buttons::YesNoCancel);
            QCOMPARE(f.messages.log()[0].icon, MessageBoxes::Icon::Question);
        }
        if (answers.size() > 1)
            checkShown(f.messages.log()[1], confirm, "Okay to Clear responses?", Buttons::OkCancel);
        // Replaced answers take the solver variables with them.
        const bool replaced = after[2].isEmpty();
        const QStringList solver{f.box("Remax")->text(), f.box("Remax")->isEnabled() ? "on" : "off",
                                 f.state.answers.DataName};
        // The data's name follows the file's.
        QCOMPARE(solver, replaced ? QStringList({"", "off", after[0]}) : QStringList({"20", "on", after[0]}));
        if (after[0] != "other.tolv")
            return;
        QCOMPARE(
            (QStringList{f.fileDialogs.requests().last().title, f.box("Note2")->text(),
                         f.window->fileDialog().InitDir, f.window->windowTitle().section(" ... ", 0, 0)}),
            (QStringList{"Select Response (Input) File to Open", "note two", f.at("/user"), "other.tolv"}));
        // The empty answer shows red without a message.
        QCOMPARE(f.label("Question(0)")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    void saveWritesTheCurrentFileOrAsksForOne() {
        Fixture f;
        f.state.FileName = NewDataName; // new data have no file: Save asks for one
        f.state.FilePath = f.at("/user");
        QDir().mkpath(f.state.FilePath);
        f.fileDialogs.choosePath(f.at("/user/arm.tolv"));
        f.trigger("mnuFileSave");
        const FileDialogRequest& request = f.fileDialogs.requests()[0];
        QCOMPARE((QStringList{request.title, request.fileName, request.initialDirectory}),
                 (QStringList{"Save Input File As ...", "New data.Tolv", f.at("/user")}));
        f.box("Alpha")->setText("changed");
        QDir::setCurrent(f.at("/user")); // Save finds the bare name here
        f.trigger("mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().size(), 1);
        QVERIFY(fileBytes(f.at("/user/arm.tolv")).contains("\r\nchanged  \t\t! 1. "));
        QCOMPARE(f.snapshot(), (QStringList{"arm.tolv", "~/user", "changed", "unchanged"}));
        // Where the name is not found, Save goes to Save As, where not replacing a file cancels too.
        QDir::setCurrent(f.programDirectory());
        const QString old = f.at("/Old.Tolv");
        QVERIFY(writeFile(old, "old"));
        f.messages.script({Answer::No});
        f.fileDialogs.choosePath(old);
        f.trigger("mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().last().fileName, QString("arm.Tolv"));
        QCOMPARE(f.snapshot(), (QStringList{"arm", "~/user", "changed", "unchanged",
                                            "Replace " + old.toLower() + " file?"}));
        QCOMPARE(fileBytes(old), QByteArray("old"));
    }

    void aSaveThatWroteNothingLeavesTheDataUnsaved_data() {
        QTest::addColumn<QString>("target"); // none: Save over the current file, made read-only
        QTest::newRow("save as a name the code page cannot hold") << QString::fromUtf8("/Ωmega.tolv");
        QTest::newRow("save over a file made read-only") << QString();
        QTest::newRow("save as onto a read-only example") << QString("/ExNASA.1.tolv");
    }
    void aSaveThatWroteNothingLeavesTheDataUnsaved() {
        QFETCH(QString, target);
        const bool example = target.startsWith("/Ex");
        Fixture f;
        const QString path = f.openArm();
        f.control<QPushButton>("cmdSubmit")->setEnabled(false);
        f.box("Alpha")->setText("unsaved");
        QDir::setCurrent(f.at("/user"));
        if (example)
            QVERIFY(writeFile(f.at(target), "example"));
        QFile::setPermissions(example ? f.at(target) : path, Perm::ReadOwner | Perm::ReadOther);
        f.fileDialogs.choosePath(f.at(target));
        f.trigger(target.isEmpty() ? "mnuFileSave" : "mnuFileSaveAs");
        QCOMPARE(fileBytes(path), inputFile("1"));
        QCOMPARE(fileBytes(f.at(target)), example ? QByteArray("example") : QByteArray());
        QCOMPARE(QDir(f.programDirectory()).entryList(QDir::Files),
                 example ? QStringList{"ExNASA.1.tolv"} : QStringList());
        const QStringList replace{"Replace " + f.at(target).toLower() + " file?"};
        QCOMPARE(f.snapshot(), QStringList({"arm.tolv", "~/user", "unsaved", "changed"}) +
                                   (example ? replace : QStringList()) +
                                   QStringList{"File not saved; Error in 'WriteAnsFile' routine."});
        QCOMPARE(f.messages.log().last().icon, MessageBoxes::Icon::Critical);
        if (example)
            QCOMPARE(f.messages.log().last().text,
                     "File Path\\FileName error occured: \r\n    Path = " + f.programDirectory() +
                         "\r\n    FileName = ExNASA.1.tolv\r\n\r\nIf these are okay then the error "
                         "may be do to following:\r\n  Ex*.tolv files in Tolvik's User directory "
                         "are for 'read-only'.\r\n  Do not save changes in these Example files.  "
                         "Save changes under other names.\r\n");
        QVERIFY(f.window->windowTitle().startsWith("arm.tolv ... "));
        QVERIFY(!f.control<QPushButton>("cmdSubmit")->isEnabled());
        // So New still asks before it clears the answers.
        f.messages.script({Answer::Cancel});
        f.trigger("mnuFileNew");
        QCOMPARE(f.messages.titles().last(), asked);
        QCOMPARE(f.box("Alpha")->text(), QString("unsaved"));
    }

    void aWritableFileIsSavedWhereNoNewFileMayBeMade() {
        QTemporaryDir dir;
        const QString locked = dir.path() + "/locked", path = locked + "/mine.tolv";
        QVERIFY(QDir().mkpath(locked) && writeFile(path, "old"));
        const auto readExe = Perm::ReadOwner | Perm::ExeOwner | Perm::ReadOther | Perm::ExeOther;
        QFile::setPermissions(dir.path(), readExe | Perm::WriteOwner);
        QFile::setPermissions(path, Perm::ReadOwner | Perm::WriteOwner | Perm::ReadOther | Perm::WriteOther);
        QFile::setPermissions(locked, readExe);
        Fixture f;
        f.messages.script({Answer::Yes});
        f.fileDialogs.choosePath(path);
        {
            const UnprivilegedFileAccess user; // root could make files anywhere
            QVERIFY(f.window->fileCommands().FileSaveAs());
        }
        QCOMPARE(f.messages.log().size(), 1);
        checkShown(f.messages.log()[0], "Replace " + path.toLower() + " file?",
                   "File exists, want to replace it?", Buttons::YesNo);
        QVERIFY(fileBytes(path).startsWith("mine  \t\t!* "));
        QCOMPARE(QDir(locked).entryList(QDir::Files), QStringList{"mine.tolv"});
    }

    void anUnexpectedFailureEndsTheProgram_data() {
        QTest::addColumn<QString>("menuEntry");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("message");
        const auto row = [](const char* name, const QString& menuEntry, const QString& chosen,
                            const QString& title, const QString& text) {
            QTest::newRow(name) << menuEntry << chosen << QStringList{title, text};
        };
        const QString lookUp = "In 'FileExists' routine ...",
                      ioError = "Unexpected error # 57 occured: Device I/O error";
        row("open, a look-up fails", "mnuFileOpen", "/arm.tolv", lookUp, ioError);
        row("save as, a look-up fails", "mnuFileSaveAs", "/arm.tolv", lookUp, ioError);
        row("save as into a missing directory", "mnuFileSaveAs", "/gone/x.tolv",
            "In 'FileSaveAs' routine ...", "Unexpected error # 76 occured: Path not found");
    }
    void anUnexpectedFailureEndsTheProgram() {
        QFETCH(QString, menuEntry);
        QFETCH(QString, chosen);
        QFETCH(QStringList, message);
        Fixture f;
        QVERIFY(writeFile(f.at("/arm.tolv"), inputFile("from file")));
        f.fileDialogs.choosePath(f.at(chosen));
        if (chosen == "/arm.tolv")
            f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
        f.trigger(menuEntry.toLatin1());
        QCOMPARE(f.messages.log().size(), 1);
        QCOMPARE((QStringList{f.messages.log()[0].title, f.messages.log()[0].text}), message);
        QCOMPARE(f.windowsClosed, 1);
        // The ended program goes no further: nothing is read or written.
        QCOMPARE(fileBytes(f.at("/arm.tolv")), inputFile("from file"));
        QCOMPARE(f.box("Alpha")->text(), QString("1"));
    }

    void cancelledDialogsChangeNothing() {
        Fixture f;
        const QString path = f.openArm();
        f.box("Alpha")->setText("typed");
        f.state.DataChanged = false;
        for (const bool cancelError : {false, true}) {
            f.window->fileDialog().CancelError = cancelError;
            f.fileDialogs.cancel();
            QVERIFY(!f.window->fileCommands().FileSaveAs());
            f.window->fileDialog().CancelError = cancelError;
            f.fileDialogs.cancel();
            f.trigger("mnuFileDelete");
            f.fileDialogs.cancel();
            f.trigger("mnuFileOpen");
        }
        QCOMPARE(fileBytes(path), inputFile("1"));
        // Save As keeps the name without ".tolv".
        QCOMPARE(f.snapshot(), (QStringList{"arm", "~/user", "typed", "unchanged"}));
        QCOMPARE(f.windowsClosed, 0);
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("yes") << Answer::Yes << false;
        QTest::newRow("no") << Answer::No << false;
        QTest::newRow("yes, but read-only") << Answer::Yes << true;
    }
    void deleteAsksFirst() {
        QFETCH(Answer, answer);
        QFETCH(bool, readOnly);
        Fixture f;
        const QString path = f.openArm();
        if (readOnly)
            QFile::setPermissions(path, Perm::ReadOwner | Perm::ReadOther);
        f.messages.script({answer});
        f.fileDialogs.choosePath(path);
        f.trigger("mnuFileDelete");
        QCOMPARE(f.state.fileTempPath, f.at("/user"));
        // A file that is not there is not asked about.
        f.fileDialogs.choosePath(f.at("/none.tolv"));
        f.trigger("mnuFileDelete");
        const FileDialogRequest& request = f.fileDialogs.requests()[1];
        QCOMPARE((QStringList{request.title, request.fileName}),
                 (QStringList{"Select File to be Deleted", "arm.tolv"}));
        QCOMPARE(f.messages.log()[0].text, "Delete '" + path + "' File.");
        QCOMPARE(QFile::exists(path), answer == Answer::No || readOnly);
        // A refused delete says nothing; the form and the current file stay as they were.
        QCOMPARE(f.snapshot(), (QStringList{"arm.tolv", "~/user", "1", "unchanged", "Confirm Delete?"}));
    }

    void splitPathAndSetInputFile() {
        Fixture f;
        FileCommands& commands = f.window->fileCommands();
        QStringList split;
        for (const QString path : {"/a/b/c.tolv", "/a/b/", "/c.tolv", "c.tolv"}) {
            QString dir;
            split << commands.SplitPath(path, dir).prepend(dir + " | ");
        }
        QCOMPARE(split,
                 (QStringList{"/a/b | c.tolv", "/a/b | ", "/ | c.tolv", QDir::currentPath() + " | c.tolv"}));
        f.state.FilePath.clear();
        commands.SetInputFile(QString());
        QCOMPARE((QStringList{f.state.FilePath, f.state.fileTempPath}),
                 QStringList(2, QDir::currentPath() + "/user"));
    }

    void startUpReopensTheLastFileButNoExample_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("userPath");
        QTest::addColumn<QStringList>("after");
        const auto row = [](const char* name, const QString& fileIn, const QString& userPath,
                            const QString& fileName, const QString& filePath, const QString& alpha) {
            QTest::newRow(name) << fileIn << userPath << QStringList{fileName, filePath, alpha, "unchanged"};
        };
        row("own file", "arm.tolv", "user", "arm.tolv", "~/user", "from file");
        row("example", "EXnasa.1.tolv", "user", "", "~/user", "1");
        // A name that was not read lies in the current directory, which start-up made the program's.
        row("gone", "gone.tolv", "user", "gone.tolv", "~", "1");
        row("directory gone", "arm.tolv", "user/gone", "arm.tolv", "~", "1");
    }
    void startUpReopensTheLastFileButNoExample() {
        QFETCH(QString, name);
        QFETCH(QString, userPath);
        QFETCH(QStringList, after);
        Fixture f;
        QDir().mkpath(f.at("/user"));
        if (name != "gone.tolv")
            QVERIFY(writeFile(f.at("/user/") + name, inputFile("from file")));
        f.storeText("Software\\Quenwick\\Tolvik", "FileIn", name);
        f.storeText("Software\\Quenwick\\Tolvik", "userPath", userPath);
        f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7"); // past the introduction
        f.window->Form_Load();
        QCOMPARE(f.snapshot(), after);
        QVERIFY(!f.window->programEnded());
        QCOMPARE(QDir::currentPath(), f.programDirectory());
    }

    void firstStartsRegisterTheFileTypes() {
        Fixture f;
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QDir().mkpath(config);
        writeFile(config + "/mimeapps.list",
                  "[Default Applications]\ntext/html=firefox.desktop;\n"
                  "application/x-quenwick-tolv=old.desktop;\n\n[Added Associations]\nx=y;\n");
        f.window->Form_Load();
        f.window->Form_Load(); // a second start within the first two writes the same entries
        QStringList values;
        for (const char* key : {".Out", ".tolv", ".plt", "MyEditor.sh", "MyEditor.sh\\shell\\open\\command",
                                "Plotvanes\\shell\\open\\command", "MyEditor.sh\\DefaultIcon"}) {
            const auto value = f.store.readValue(SettingsStore::Root::ClassesRoot, key, QString());
            values << (value ? value->text : "<missing>");
        }
        const QString handler = f.at("/../");
        QCOMPARE(values, (QStringList{"MyEditor.sh", "MyEditor.sh", "Plotvanes", "Tolv Input file",
                                      "\"" + handler + "MyEditor.sh\" %1", "\"" + handler + "Plotvanes\" %1",
                                      "<missing>"}));
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QByteArray defaults = fileBytes(config + "/mimeapps.list"),
                         entry = fileBytes(data + "/applications/quenwick-myeditor.desktop"),
                         program = fileBytes(data + "/applications/quenwick-tolvik.desktop");
        const QByteArray parent = QDir::cleanPath(f.at("/..")).toUtf8(), own = f.programDirectory().toUtf8();
        for (const char* line : {"text/html=firefox.desktop;\n", "[Added Associations]\nx=y;",
                                 "application/x-quenwick-tolv=quenwick-myeditor.desktop;\n",
                                 "application/x-quenwick-plt=quenwick-plotvanes.desktop;\n"})
            QVERIFY2(defaults.contains(line), line);
        QVERIFY(!defaults.contains("old.desktop"));
        QVERIFY(entry.contains(
            "Exec=\"" + parent +
            "/MyEditor.sh\" %f\nMimeType=application/x-quenwick-out;application/x-quenwick-tolv;\n"));
        QVERIFY(program.contains("Exec=\"" + own + "/tolvik\"\n"));
        QVERIFY(program.contains("Icon=" + own + "/tolvik.svg\n"));
        QCOMPARE(DesktopRegistration::execLine("/a b/$x\\y"), QString("\"/a b/\\\\$x\\\\\\\\y\" %f"));

        if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
            QSKIP("update-mime-database is not installed");
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
