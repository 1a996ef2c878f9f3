#include "core/ProgramEnded.h"
#include "files/DesktopRegistration.h"
#include "files/FileAssociation.h"
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

QByteArray inputFile(const QString& alpha) {
    return "arm  \t\t!* x\r\n" + alpha.toLatin1() +
           "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nnote one\r\nnote two\r\nN\t\t! 22\r\n";
}

QString classValue(SettingsStore& store, const QString& key) {
    const auto value = store.readValue(SettingsStore::Root::ClassesRoot, key, QString());
    return value ? value->text : QStringLiteral("<missing>");
}

void checkShown(const FakeMessageBoxes::Shown& shown, const QString& title, const QString& text,
                Buttons buttons) {
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.buttons, buttons);
}

// The current file's name and directory and the first answer, to compare at once.
QStringList where(const WindowFixture& f) {
    return {f.state.FileName, f.state.FilePath, f.box("Alpha")->text()};
}

// Starts the program with FileIn and userPath stored, past the introduction of the first runs.
void startWith(WindowFixture& f, const QString& fileIn, const QString& userPath) {
    f.storeText("Software\\Quenwick\\Tolvik", "FileIn", fileIn);
    f.storeText("Software\\Quenwick\\Tolvik", "userPath", userPath);
    f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7");
    f.window->Form_Load();
}
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

    void trigger(WindowFixture& f, const char* menuEntry) { f.control<QAction>(menuEntry)->trigger(); }
    QString at(WindowFixture& f, const QString& relative) { return f.programDirectory() + relative; }

    // A window that has opened user/arm.tolv and so holds a file of its own.
    QString openArm(WindowFixture& f, const QByteArray& bytes = inputFile("1")) {
        const QString path = at(f, "/user/arm.tolv");
        QDir().mkpath(at(f, "/user"));
        if (!writeFile(path, bytes))
            QTest::qFail("cannot write the input file", __FILE__, __LINE__);
        f.fileDialogs.choosePath(path);
        trigger(f, "mnuFileOpen");
        return path;
    }

private slots:
    void openReadsTheFileIntoTheWindow() {
        WindowFixture f;
        f.box("Alpha")->setText("typed");
        f.state.FileName = NewDataName; // unsaved data: no question is asked
        openArm(f, inputFile("-999"));
        QCOMPARE(f.fileDialogs.requests().at(0).title, QString("Select Response (Input) File to Open"));
        QCOMPARE(where(f), (QStringList{"arm.tolv", at(f, "/user"), ""}));
        QCOMPARE(f.box("Note2")->text(), QString("note two"));
        QCOMPARE(f.window->fileDialog().InitDir, at(f, "/user"));
        QVERIFY(!f.state.DataChanged);
        QVERIFY(f.window->windowTitle().startsWith("arm.tolv ... "));
        // The empty answer shows red without a message.
        QCOMPARE(f.label("Question(0)")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(f.messages.log().isEmpty());
    }

    void theDataChangedPrompt_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saveAsCancelled");
        QTest::addColumn<bool>("opened");
        QTest::newRow("cancel") << Answer::Cancel << false << false;
        QTest::newRow("no") << Answer::No << false << true;
        QTest::newRow("yes, then cancel the save") << Answer::Yes << true << false;
        QTest::newRow("yes, then save") << Answer::Yes << false << true;
    }
    void theDataChangedPrompt() {
        QFETCH(Answer, answer);
        QFETCH(bool, saveAsCancelled);
        QFETCH(bool, opened);
        WindowFixture f;
        openArm(f);
        f.box("Beta")->setText("edited");
        QVERIFY(writeFile(at(f, "/user/other.tolv"), inputFile("other")));
        f.messages.script({answer});
        if (answer == Answer::Yes && saveAsCancelled)
            f.fileDialogs.cancel();
        else if (answer == Answer::Yes)
            f.fileDialogs.choosePath(at(f, "/user/kept.tolv"));
        f.fileDialogs.choosePath(at(f, "/user/other.tolv"));
        trigger(f, "mnuFileOpen");
        checkShown(f.messages.log()[0], "Data in form has changed!", "Save current data?",
                   Buttons::YesNoCancel);
        QCOMPARE(f.messages.log()[0].icon, MessageBoxes::Icon::Question);
        QCOMPARE(f.box("Alpha")->text(), opened ? QString("other") : QString("1"));
        if (!opened) {
            QCOMPARE(f.box("Beta")->text(), QString("edited"));
            QVERIFY(f.state.DataChanged);
            QVERIFY(f.state.FileName.startsWith("arm"));
        }
        QCOMPARE(QFile::exists(at(f, "/user/kept.tolv")), answer == Answer::Yes && !saveAsCancelled);
    }

    void newCanBeDeclined() {
        WindowFixture f;
        openArm(f);
        f.box("Alpha")->setText("typed");
        f.box("Remax")->setEnabled(true);
        f.box("Remax")->setText("20");
        f.messages.script({Answer::No, Answer::Cancel, Answer::Ok});
        trigger(f, "mnuFileNew");
        QCOMPARE(f.messages.titles(), (QStringList{"Data in form has changed!", "Confirm 'New' Response."}));
        checkShown(f.messages.log()[1], "Confirm 'New' Response.", "Okay to Clear responses?",
                   Buttons::OkCancel);
        QCOMPARE(where(f), (QStringList{"arm.tolv", at(f, "/user"), "typed"}));
        QVERIFY(!f.state.DataChanged); // No said the edits need no saving
        trigger(f, "mnuFileNew");      // so only the confirmation is asked
        QCOMPARE(f.messages.log().size(), 3);
        QCOMPARE(f.box("Alpha")->text(), QString());
        QCOMPARE(f.box("Remax")->text(), QString());
        QVERIFY(!f.box("Remax")->isEnabled());
        QCOMPARE(f.state.answers.DataName, NewDataName);
        QCOMPARE(f.state.FilePath, QDir::currentPath());
        QVERIFY(f.state.DataChanged); // clearing changed the boxes
    }

    void saveWritesTheCurrentFileOrFallsBackToSaveAs() {
        WindowFixture f;
        f.state.FileName = NewDataName; // new data have no file: Save asks for one
        f.state.FilePath = at(f, "/user");
        QDir().mkpath(f.state.FilePath);
        const QString path = at(f, "/user/arm.tolv");
        f.fileDialogs.choosePath(path);
        trigger(f, "mnuFileSave");
        const FileDialogRequest& request = f.fileDialogs.requests()[0];
        QCOMPARE(request.title, QString("Save Input File As ..."));
        QCOMPARE(request.fileName, QString("New data.Tolv"));
        QCOMPARE(request.initialDirectory, at(f, "/user"));
        QCOMPARE(f.state.FileName, QString("arm.tolv"));

        f.box("Alpha")->setText("changed");
        QDir::setCurrent(at(f, "/user")); // Save finds the bare name here
        trigger(f, "mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().size(), 1);
        QVERIFY(fileBytes(path).contains("\r\nchanged  \t\t! 1. "));
        QVERIFY(!f.state.DataChanged);

        QDir::setCurrent(f.programDirectory());
        f.fileDialogs.choosePath(at(f, "/user/elsewhere.tolv"));
        trigger(f, "mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().size(), 2);
        QCOMPARE(f.fileDialogs.requests()[1].fileName, QString("arm.Tolv"));
        QVERIFY(QFile::exists(at(f, "/user/elsewhere.tolv")));
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
        WindowFixture f;
        const QString path = openArm(f);
        f.control<QPushButton>("cmdSubmit")->setEnabled(false);
        f.box("Alpha")->setText("unsaved");
        QDir::setCurrent(at(f, "/user"));
        if (example) {
            QVERIFY(writeFile(at(f, target), "example"));
            QFile::setPermissions(at(f, target), Perm::ReadOwner | Perm::ReadGroup | Perm::ReadOther);
            f.messages.script({Answer::Yes}); // to replacing it
        }
        if (target.isEmpty()) {
            QFile::setPermissions(path, Perm::ReadOwner);
            trigger(f, "mnuFileSave");
        } else {
            f.fileDialogs.choosePath(at(f, target));
            trigger(f, "mnuFileSaveAs");
        }
        QCOMPARE(fileBytes(path), inputFile("1"));
        QCOMPARE(QDir(f.programDirectory()).entryList(QDir::Files),
                 example ? QStringList{"ExNASA.1.tolv"} : QStringList());
        if (example)
            QCOMPARE(fileBytes(at(f, target)), QByteArray("example"));
        QCOMPARE(f.messages.log().size(), example ? 2 : 1);
        const auto& shown = f.messages.log().last();
        QCOMPARE(shown.title, QString("File not saved; Error in 'WriteAnsFile' routine."));
        QCOMPARE(shown.icon, MessageBoxes::Icon::Critical);
        if (example)
            QCOMPARE(shown.text,
                     "File Path\\FileName error occured: \r\n    Path = " + f.programDirectory() +
                         "\r\n    FileName = ExNASA.1.tolv\r\n\r\nIf these are okay then the error "
                         "may be do to following:\r\n  Ex*.tolv files in Tolvik's User directory "
                         "are for 'read-only'.\r\n  Do not save changes in these Example files.  "
                         "Save changes under other names.\r\n");
        QVERIFY(f.state.DataChanged);
        QVERIFY(!f.state.SaveFailed);
        QCOMPARE(where(f), (QStringList{"arm.tolv", at(f, "/user"), "unsaved"}));
        QVERIFY(f.window->windowTitle().startsWith("arm.tolv"));
        QVERIFY(!f.control<QPushButton>("cmdSubmit")->isEnabled());
        // So New still asks before it clears the answers.
        f.messages.script({Answer::Cancel});
        trigger(f, "mnuFileNew");
        QCOMPARE(f.messages.titles().last(), QString("Data in form has changed!"));
        QCOMPARE(f.box("Alpha")->text(), QString("unsaved"));
    }

    void aWritableFileIsSavedWhereNoNewFileMayBeMade() {
        QTemporaryDir dir;
        const auto readExe = Perm::ReadOwner | Perm::ExeOwner | Perm::ReadOther | Perm::ExeOther;
        QFile::setPermissions(dir.path(), readExe | Perm::WriteOwner);
        const QString locked = dir.path() + "/locked";
        QVERIFY(QDir().mkpath(locked));
        const QString path = locked + "/mine.tolv";
        QVERIFY(writeFile(path, "old"));
        QFile::setPermissions(path, Perm::ReadOwner | Perm::WriteOwner | Perm::ReadOther | Perm::WriteOther);
        QFile::setPermissions(locked, readExe);
        WindowFixture f;
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

    void saveAsIntoAMissingDirectoryEndsTheProgram() {
        WindowFixture f;
        f.fileDialogs.choosePath(at(f, "/gone/x.tolv"));
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.window->fileCommands().FileSaveAs());
        QCOMPARE(f.messages.log().last().title, QString("In 'FileSaveAs' routine ..."));
        QCOMPARE(f.messages.log().last().text, QString("Unexpected error # 76 occured: Path not found"));
        QCOMPARE(f.windowsClosed, 1);
    }

    void anEndedProgramGoesNoFurther_data() {
        QTest::addColumn<QString>("menuEntry");
        QTest::newRow("open, in the reader") << "mnuFileOpen";
        QTest::newRow("save as") << "mnuFileSaveAs";
    }
    void anEndedProgramGoesNoFurther() {
        QFETCH(QString, menuEntry);
        WindowFixture f;
        const QString path = at(f, "/arm.tolv");
        QVERIFY(writeFile(path, inputFile("from file")));
        f.fileDialogs.choosePath(path);
        f.lookups.lookUpFailures = {Failure{57, "Device I/O error"}};
        trigger(f, menuEntry.toLatin1());
        QCOMPARE(f.messages.titles(), QStringList{"In 'FileExists' routine ..."});
        QCOMPARE(f.windowsClosed, 1);
        QCOMPARE(fileBytes(path), inputFile("from file"));
        QCOMPARE(f.box("Alpha")->text(), QString("1"));
    }

    void cancelledDialogsChangeNothing() {
        WindowFixture f;
        const QString path = openArm(f);
        f.box("Alpha")->setText("typed");
        f.state.DataChanged = false;
        for (const bool cancelError : {false, true}) {
            f.window->fileDialog().CancelError = cancelError;
            f.fileDialogs.cancel();
            QVERIFY(!f.window->fileCommands().FileSaveAs());
            QCOMPARE(f.state.FileName, QString("arm")); // Save As keeps the name without ".tolv"
            f.window->fileDialog().CancelError = cancelError;
            f.fileDialogs.cancel();
            trigger(f, "mnuFileDelete");
            f.fileDialogs.cancel();
            trigger(f, "mnuFileOpen");
        }
        QCOMPARE(fileBytes(path), inputFile("1"));
        QCOMPARE(f.box("Alpha")->text(), QString("typed"));
        QVERIFY(f.messages.log().isEmpty());
        QCOMPARE(f.windowsClosed, 0);
        // The name lost its extension: Save now goes to Save As, where not replacing a file cancels too.
        const QString old = at(f, "/Old.Tolv");
        QVERIFY(writeFile(old, "old"));
        f.messages.script({Answer::No});
        f.fileDialogs.choosePath(old);
        trigger(f, "mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().last().title, QString("Save Input File As ..."));
        QCOMPARE(f.messages.titles(), QStringList{"Replace " + old.toLower() + " file?"});
        QCOMPARE(fileBytes(old), QByteArray("old"));
        QVERIFY(!f.state.DataChanged);
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("kept");
        QTest::newRow("yes") << Answer::Yes << false << false;
        QTest::newRow("no") << Answer::No << false << true;
        QTest::newRow("yes, but read-only") << Answer::Yes << true << true;
    }
    void deleteAsksFirst() {
        QFETCH(Answer, answer);
        QFETCH(bool, readOnly);
        QFETCH(bool, kept);
        WindowFixture f;
        const QString path = openArm(f);
        if (readOnly)
            QFile::setPermissions(path, Perm::ReadOwner | Perm::ReadOther);
        f.messages.script({answer});
        f.fileDialogs.choosePath(path);
        trigger(f, "mnuFileDelete");
        QCOMPARE(f.fileDialogs.requests().last().title, QString("Select File to be Deleted"));
        QCOMPARE(f.fileDialogs.requests().last().fileName, QString("arm.tolv"));
        QCOMPARE(f.messages.titles(), QStringList{"Confirm Delete?"}); // a refused delete says nothing
        QCOMPARE(f.messages.log()[0].text, "Delete '" + path + "' File.");
        QCOMPARE(QFile::exists(path), kept);
        // The form and the current file stay as they were.
        QCOMPARE(where(f), (QStringList{"arm.tolv", at(f, "/user"), "1"}));
        QCOMPARE(f.state.fileTempPath, at(f, "/user"));
        // A file that is not there is not asked about.
        f.fileDialogs.choosePath(at(f, "/none.tolv"));
        trigger(f, "mnuFileDelete");
        QCOMPARE(f.messages.log().size(), 1);
    }

    void splitPathAndSetInputFile() {
        WindowFixture f;
        FileCommands& commands = f.window->fileCommands();
        const auto split = [&](const QString& path) {
            QString dir;
            return commands.SplitPath(path, dir).prepend(dir + " | ");
        };
        QCOMPARE((QStringList{split("/a/b/c.tolv"), split("/a/b/"), split("/c.tolv"), split("c.tolv")}),
                 (QStringList{"/a/b | c.tolv", "/a/b | ", "/ | c.tolv", QDir::currentPath() + " | c.tolv"}));
        f.state.FilePath.clear();
        commands.SetInputFile(QString());
        QCOMPARE((QStringList{f.state.FilePath, f.state.fileTempPath}),
                 QStringList(2, QDir::currentPath() + "/user"));
    }

    void startUpReopensTheLastFileButNoExample_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("alpha");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("own file") << "arm.tolv" << QString("from file") << "arm.tolv";
        QTest::newRow("example") << "EXnasa.1.tolv" << QString("1") << "";
        QTest::newRow("gone") << "gone.tolv" << QString("1") << "gone.tolv";
    }
    void startUpReopensTheLastFileButNoExample() {
        QFETCH(QString, name);
        QFETCH(QString, alpha);
        QFETCH(QString, fileName);
        WindowFixture f;
        QDir().mkpath(at(f, "/user"));
        if (name != "gone.tolv")
            QVERIFY(writeFile(at(f, "/user/") + name, inputFile("from file")));
        startWith(f, name, "user");
        // A file that was read keeps its directory; a name that was not read is placed in the current
        // directory, which the start-up check made the program's; without a name the stored one stays.
        QCOMPARE(where(f),
                 (QStringList{fileName, name == "gone.tolv" ? f.programDirectory() : at(f, "/user"), alpha}));
        QVERIFY(!f.state.DataChanged);
        QVERIFY(f.messages.log().isEmpty());
    }

    void startUpSurvivesARemovedDirectory() {
        WindowFixture f;
        startWith(f, "arm.tolv", "user/gone");
        QVERIFY(!f.window->programEnded());
        QVERIFY(f.messages.log().isEmpty());
        QCOMPARE(f.box("Alpha")->text(), QString("1"));
        QCOMPARE(QDir::currentPath(), f.programDirectory());
    }

    void classEntriesOfTheFirstStarts() {
        WindowFixture f;
        f.window->Form_Load();
        f.window->Form_Load(); // a second start within the first two writes the same entries
        QStringList values;
        for (const char* key : {".Out", ".tolv", ".plt", "MyEditor.sh", "MyEditor.sh\\shell\\open\\command",
                                "Plotvanes\\shell\\open\\command"})
            values << classValue(f.store, key);
        const QString handler = at(f, "/../");
        QCOMPARE(values,
                 (QStringList{"MyEditor.sh", "MyEditor.sh", "Plotvanes", "Tolv Input file",
                              "\"" + handler + "MyEditor.sh\" %1", "\"" + handler + "Plotvanes\" %1"}));
        QVERIFY(!f.store.keyExists(SettingsStore::Root::ClassesRoot, "MyEditor.sh\\DefaultIcon"));

        // A directory without its closing slash gets one; an icon is stored as its first.
        QString dir = "/opt/r";
        FileAssociation(f.store).RegisterFileType("Abc", dir, "View", "Abc file", "/opt/q/abc.png");
        QCOMPARE(dir, QString("/opt/r/"));
        QCOMPARE(classValue(f.store, "View\\shell\\open\\command"), QString("\"/opt/r/View\" %1"));
        QCOMPARE(classValue(f.store, "View\\DefaultIcon"), QString("/opt/q/abc.png,0"));
    }

    void desktopOpensTheTypesWithTheInstallation() {
        WindowFixture f;
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QDir().mkpath(config);
        writeFile(config + "/mimeapps.list",
                  "[Default Applications]\ntext/html=firefox.desktop;\n"
                  "application/x-quenwick-tolv=old.desktop;\n\n[Added Associations]\nx=y;\n");
        f.window->Form_Load();
        const QByteArray defaults = fileBytes(config + "/mimeapps.list");
        for (const char* line : {"text/html=firefox.desktop;\n", "[Added Associations]\nx=y;",
                                 "application/x-quenwick-tolv=quenwick-myeditor.desktop;\n",
                                 "application/x-quenwick-plt=quenwick-plotvanes.desktop;\n"})
            QVERIFY2(defaults.contains(line), line);
        QVERIFY(!defaults.contains("old.desktop"));

        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QByteArray entry = fileBytes(data + "/applications/quenwick-myeditor.desktop");
        QVERIFY(entry.contains("Exec=\"" + QDir::cleanPath(at(f, "/..")).toUtf8() + "/MyEditor.sh\" %f\n"));
        QVERIFY(entry.contains("MimeType=application/x-quenwick-out;application/x-quenwick-tolv;\n"));
        const QByteArray program = fileBytes(data + "/applications/quenwick-tolvik.desktop");
        QVERIFY(program.contains("Exec=\"" + f.programDirectory().toUtf8() + "/tolvik\"\n"));
        QVERIFY(program.contains("Icon=" + f.programDirectory().toUtf8() + "/tolvik.svg\n"));
        QCOMPARE(DesktopRegistration::execLine("/a b/$x\\y"), QString("\"/a b/\\\\$x\\\\\\\\y\" %f"));

        if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
            QSKIP("update-mime-database is not installed");
        // The desktop's caches are refreshed while the program goes on.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data + "/mime/application/x-quenwick-tolv.xml"), 30000);
        QMimeDatabase mimes;
        QCOMPARE(mimes.mimeTypeForFile("B.TOLV", QMimeDatabase::MatchExtension).name(),
                 QString("application/x-quenwick-tolv"));
        QCOMPARE(mimes.mimeTypeForFile("run.plt", QMimeDatabase::MatchExtension).name(),
                 QString("application/x-quenwick-plt"));
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
