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

QByteArray inputFile(const QString& alpha) {
    return "arm  \t\t!* x\r\n" + alpha.toLatin1() +
           "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nnote one\r\nnote two\r\nN\t\t! 22\r\n";
}

QString classValue(SettingsStore& store, const QString& key) {
    const auto value = store.readValue(SettingsStore::Root::ClassesRoot, key, QString());
    return value ? value->text : QStringLiteral("<missing>");
}
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

    void trigger(WindowFixture& f, const char* menuEntry) { f.control<QAction>(menuEntry)->trigger(); }

    // A window that has opened user/arm.tolv and so holds a file of its own.
    QString openArm(WindowFixture& f, const QByteArray& bytes = inputFile("1")) {
        const QString path = f.programDirectory() + "/user/arm.tolv";
        QDir().mkpath(f.programDirectory() + "/user");
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
        QCOMPARE(f.fileDialogs.requests().size(), 1);
        const FileDialogRequest& request = f.fileDialogs.requests()[0];
        QCOMPARE(request.title, QString("Select Response (Input) File to Open"));
        QCOMPARE(request.filters.size(), 3);
        QCOMPARE(request.filters[2].pattern, QString("Ex*.Tolv"));
        QCOMPARE(request.filterIndex, 2);
        QCOMPARE(request.fileName, QString("*.Tolv"));
        QCOMPARE(f.box("Alpha")->text(), QString());
        QCOMPARE(f.box("Note2")->text(), QString("note two"));
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QCOMPARE(f.state.FilePath, f.programDirectory() + "/user");
        QCOMPARE(f.window->fileDialog().InitDir, f.programDirectory() + "/user");
        QVERIFY(!f.state.DataChanged);
        QCOMPARE(f.window->windowTitle(),
                 QString::fromUtf8("arm.tolv ... Tolvik™, a Calculus-level program"));
        // The empty answer shows red without a message.
        QCOMPARE(f.label("Question(0)")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(f.messages.log().isEmpty());
    }

    void openOfAShortFileShowsEndMarkers() {
        WindowFixture f;
        openArm(f, "arm\r\n1\r\n2\r\n");
        QCOMPARE(f.box("Delta")->text(), QString("-EOF-"));
        QCOMPARE(f.box("Note1")->text(), QString("-EOF-"));
        QVERIFY(!f.box("Remax")->isEnabled());
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
        QVERIFY(writeFile(f.programDirectory() + "/user/other.tolv", inputFile("other")));
        f.messages.script({answer});
        if (answer == Answer::Yes) {
            if (saveAsCancelled)
                f.fileDialogs.cancel();
            else
                f.fileDialogs.choosePath(f.programDirectory() + "/user/kept.tolv");
        }
        f.fileDialogs.choosePath(f.programDirectory() + "/user/other.tolv");
        trigger(f, "mnuFileOpen");
        QCOMPARE(f.messages.log()[0].title, QString("Data in form has changed!"));
        QCOMPARE(f.messages.log()[0].text, QString("Save current data?"));
        QCOMPARE(f.messages.log()[0].buttons, MessageBoxes::Buttons::YesNoCancel);
        QCOMPARE(f.messages.log()[0].icon, MessageBoxes::Icon::Question);
        QCOMPARE(f.box("Alpha")->text(), opened ? QString("other") : QString("1"));
        if (!opened) {
            QCOMPARE(f.box("Beta")->text(), QString("edited"));
            QVERIFY(f.state.DataChanged);
            QVERIFY(f.state.FileName.startsWith("arm"));
        }
        QCOMPARE(QFile::exists(f.programDirectory() + "/user/kept.tolv"),
                 answer == Answer::Yes && !saveAsCancelled);
    }

    void newClearsTheForm() {
        WindowFixture f;
        f.state.FileName = NewDataName;
        f.box("Alpha")->setText("typed");
        f.messages.script({Answer::Ok});
        trigger(f, "mnuFileNew");
        QCOMPARE(f.messages.titles(), QStringList{"Confirm 'New' Response."});
        QCOMPARE(f.messages.log()[0].text, QString("Okay to Clear responses?"));
        QCOMPARE(f.messages.log()[0].buttons, MessageBoxes::Buttons::OkCancel);
        QCOMPARE(f.box("Alpha")->text(), QString());
        QCOMPARE(f.box("Remax")->text(), QString());
        QVERIFY(!f.box("Remax")->isEnabled());
        QCOMPARE(f.state.answers.DataName, NewDataName);
        QCOMPARE(f.state.FilePath, QDir::currentPath());
        QVERIFY(f.state.DataChanged); // clearing changed the boxes
        QCOMPARE(f.window->windowTitle(),
                 QString::fromUtf8("New data ... Tolvik™, a Calculus-level program"));
    }

    void newCanBeDeclined() {
        WindowFixture f;
        openArm(f);
        f.box("Alpha")->setText("typed");
        f.messages.script({Answer::No, Answer::Cancel});
        trigger(f, "mnuFileNew");
        QCOMPARE(f.messages.titles(), (QStringList{"Data in form has changed!", "Confirm 'New' Response."}));
        QCOMPARE(f.box("Alpha")->text(), QString("typed"));
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QVERIFY(!f.state.DataChanged); // No said the edits need no saving
    }

    void saveWritesTheCurrentFileOrFallsBackToSaveAs() {
        WindowFixture f;
        const QString path = openArm(f);
        f.box("Alpha")->setText("changed");
        QDir::setCurrent(f.programDirectory() + "/user"); // Save finds the bare name here
        trigger(f, "mnuFileSave");
        QVERIFY(f.fileDialogs.requests().size() == 1); // no dialog beyond the Open
        QVERIFY(fileBytes(path).contains("\r\nchanged  \t\t! 1. "));
        QVERIFY(!f.state.DataChanged);

        QDir::setCurrent(f.programDirectory());
        f.fileDialogs.choosePath(f.programDirectory() + "/user/elsewhere.tolv");
        trigger(f, "mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().size(), 2);
        QCOMPARE(f.fileDialogs.requests()[1].title, QString("Save Input File As ..."));
        QCOMPARE(f.fileDialogs.requests()[1].fileName, QString("arm.Tolv"));
        QVERIFY(QFile::exists(f.programDirectory() + "/user/elsewhere.tolv"));
    }

    void saveOfNewDataGoesToSaveAs() {
        WindowFixture f;
        f.state.FileName = NewDataName;
        f.state.FilePath = f.programDirectory() + "/user";
        f.fileDialogs.choosePath(f.programDirectory() + "/mine.tolv");
        trigger(f, "mnuFileSave");
        QCOMPARE(f.fileDialogs.requests()[0].fileName, QString("New data.Tolv"));
        QCOMPARE(f.fileDialogs.requests()[0].initialDirectory, f.programDirectory() + "/user");
        QVERIFY(QFile::exists(f.programDirectory() + "/mine.tolv"));
        QCOMPARE(f.state.FileName, QString("mine.tolv"));
    }

    void saveAsAsksBeforeReplacing_data() {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void saveAsAsksBeforeReplacing() {
        QFETCH(Answer, answer);
        WindowFixture f;
        const QString path = f.programDirectory() + "/Old.Tolv";
        QVERIFY(writeFile(path, "old"));
        f.messages.script({answer});
        f.fileDialogs.choosePath(path);
        const bool saved = f.window->fileCommands().FileSaveAs();
        QCOMPARE(f.messages.log()[0].title, "Replace " + path.toLower() + " file?");
        QCOMPARE(f.messages.log()[0].text, QString("File exists, want to replace it?"));
        QCOMPARE(f.messages.log()[0].buttons, MessageBoxes::Buttons::YesNo);
        QCOMPARE(saved, answer == Answer::Yes);
        QCOMPARE(fileBytes(path) == "old", answer == Answer::No);
    }

    void saveAsOntoAReadOnlyExampleChangesNothing() {
        WindowFixture f;
        f.state.FileName = "arm.tolv";
        const QString path = f.programDirectory() + "/ExNASA.1.tolv";
        QVERIFY(writeFile(path, "example"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        f.control<QPushButton>("cmdSubmit")->setEnabled(false);
        f.box("Alpha")->setText("typed");
        f.messages.script({Answer::Yes, Answer::Ok});
        f.fileDialogs.choosePath(path);
        QVERIFY(!f.window->fileCommands().FileSaveAs());
        QCOMPARE(fileBytes(path), QByteArray("example"));
        const auto& shown = f.messages.log()[1];
        QCOMPARE(shown.title, QString("File not saved; Error in 'WriteAnsFile' routine."));
        QCOMPARE(shown.text,
                 "File Path\\FileName error occured: \r\n    Path = " + f.programDirectory() +
                     "\r\n    FileName = ExNASA.1.tolv\r\n\r\nIf these are okay then the error may be do to "
                     "following:\r\n  Ex*.tolv files in Tolvik's User directory are for 'read-only'.\r\n  Do "
                     "not save changes in these Example files.  Save changes under other names.\r\n");
        QCOMPARE(shown.icon, MessageBoxes::Icon::Critical);
        // Nothing was written: the data keep their name and stay unsaved.
        QVERIFY(f.state.DataChanged);
        QVERIFY(!f.state.SaveFailed);
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QVERIFY(!f.control<QPushButton>("cmdSubmit")->isEnabled());
        QVERIFY(!f.window->windowTitle().startsWith("ExNASA"));
    }

    void aSaveThatWroteNothingLeavesTheDataUnsaved_data() {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("save as a name the code page cannot hold") << true;
        QTest::newRow("save over a file made read-only") << false;
    }
    void aSaveThatWroteNothingLeavesTheDataUnsaved() {
        QFETCH(bool, saveAs);
        WindowFixture f;
        const QString path = openArm(f);
        f.control<QPushButton>("cmdSubmit")->setEnabled(false);
        f.box("Alpha")->setText("unsaved");
        QDir::setCurrent(f.programDirectory() + "/user");
        if (saveAs) {
            f.fileDialogs.choosePath(f.programDirectory() + QString::fromUtf8("/Ωmega.tolv"));
            trigger(f, "mnuFileSaveAs");
            QCOMPARE(QDir(f.programDirectory()).entryList(QDir::Files), QStringList());
        } else {
            QFile::setPermissions(path, QFileDevice::ReadOwner);
            trigger(f, "mnuFileSave");
            QCOMPARE(fileBytes(path), inputFile("1"));
        }
        QCOMPARE(f.messages.titles(), QStringList{"File not saved; Error in 'WriteAnsFile' routine."});
        QVERIFY(f.state.DataChanged);
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QCOMPARE(f.state.FilePath, f.programDirectory() + "/user");
        QVERIFY(!f.control<QPushButton>("cmdSubmit")->isEnabled());
        // So New still asks before it clears the answers.
        f.messages.script({Answer::Cancel});
        trigger(f, "mnuFileNew");
        QCOMPARE(f.messages.titles().last(), QString("Data in form has changed!"));
        QCOMPARE(f.box("Alpha")->text(), QString("unsaved"));
    }

    void aWritableFileIsSavedWhereNoNewFileMayBeMade() {
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
        const QString locked = dir.path() + "/locked";
        QVERIFY(QDir().mkpath(locked));
        const QString path = locked + "/mine.tolv";
        QVERIFY(writeFile(path, "old"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther);
        WindowFixture f;
        f.messages.script({Answer::Yes});
        f.fileDialogs.choosePath(path);
        {
            const UnprivilegedFileAccess user; // root could make files anywhere
            QVERIFY(f.window->fileCommands().FileSaveAs());
        }
        QCOMPARE(f.messages.titles(), QStringList{"Replace " + path.toLower() + " file?"});
        QVERIFY(fileBytes(path).startsWith("mine  \t\t!* "));
        QCOMPARE(QDir(locked).entryList(QDir::Files), QStringList{"mine.tolv"});
    }

    void saveAsIntoAMissingDirectoryEndsTheProgram() {
        WindowFixture f;
        f.fileDialogs.choosePath(f.programDirectory() + "/gone/x.tolv");
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
        const QString path = f.programDirectory() + "/arm.tolv";
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
        QVERIFY(QFile::exists(path));
        QCOMPARE(fileBytes(path), inputFile("1"));
        QCOMPARE(f.box("Alpha")->text(), QString("typed"));
        QVERIFY(f.messages.log().isEmpty());
        QCOMPARE(f.windowsClosed, 0);
        // The name lost its extension: Save now goes to Save As.
        f.fileDialogs.cancel();
        trigger(f, "mnuFileSave");
        QCOMPARE(f.fileDialogs.requests().last().title, QString("Save Input File As ..."));
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
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        f.messages.script({answer});
        f.fileDialogs.choosePath(path);
        trigger(f, "mnuFileDelete");
        const FileDialogRequest& request = f.fileDialogs.requests().last();
        QCOMPARE(request.title, QString("Select File to be Deleted"));
        QCOMPARE(request.filterIndex, 3);
        QCOMPARE(request.fileName, QString("arm.tolv"));
        QCOMPARE(f.messages.titles(), QStringList{"Confirm Delete?"}); // a refused delete says nothing
        QCOMPARE(f.messages.log()[0].text, "Delete '" + path + "' File.");
        QCOMPARE(QFile::exists(path), kept);
        // The form and the current name stay as they were.
        QCOMPARE(f.state.FileName, QString("arm.tolv"));
        QCOMPARE(f.box("Alpha")->text(), QString("1"));
        QCOMPARE(f.state.fileTempPath, f.programDirectory() + "/user");
    }

    void deleteOfAMissingFileAsksNothing() {
        WindowFixture f;
        f.fileDialogs.choosePath(f.programDirectory() + "/none.tolv");
        trigger(f, "mnuFileDelete");
        QVERIFY(f.messages.log().isEmpty());
    }

    void splitPathAndSetInputFile() {
        WindowFixture f;
        FileCommands& commands = f.window->fileCommands();
        QString dir;
        QCOMPARE(commands.SplitPath("/a/b/c.tolv", dir), QString("c.tolv"));
        QCOMPARE(dir, QString("/a/b"));
        QCOMPARE(commands.SplitPath("/a/b/", dir), QString());
        QCOMPARE(commands.SplitPath("/c.tolv", dir), QString("c.tolv"));
        QCOMPARE(dir, QString("/"));
        QCOMPARE(commands.SplitPath("c.tolv", dir), QString("c.tolv"));
        QCOMPARE(dir, QDir::currentPath());
        f.state.FilePath.clear();
        commands.SetInputFile(QString());
        QCOMPARE(f.state.FilePath, QDir::currentPath() + "/user");
        QCOMPARE(f.state.fileTempPath, f.state.FilePath);
    }

    void startUpReopensTheLastFileButNoExample_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("alpha");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("own file") << "arm.tolv"
                                  << "from file"
                                  << "arm.tolv";
        QTest::newRow("example") << "EXnasa.1.tolv"
                                 << "1"
                                 << "";
        QTest::newRow("gone") << "gone.tolv"
                              << "1"
                              << "gone.tolv";
    }
    void startUpReopensTheLastFileButNoExample() {
        QFETCH(QString, name);
        QFETCH(QString, alpha);
        QFETCH(QString, fileName);
        WindowFixture f;
        QDir().mkpath(f.programDirectory() + "/user");
        if (name != "gone.tolv")
            QVERIFY(writeFile(f.programDirectory() + "/user/" + name, inputFile("from file")));
        f.storeText("Software\\Quenwick\\Tolvik", "FileIn", name);
        f.storeText("Software\\Quenwick\\Tolvik", "userPath", "user");
        f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7"); // no introduction
        f.window->Form_Load();
        QCOMPARE(f.box("Alpha")->text(), alpha);
        QCOMPARE(f.state.FileName, fileName);
        // A file that was read keeps its directory; a name that was not read is placed in the current
        // directory, which the start-up check made the program's; without a name the stored one stays.
        QCOMPARE(f.state.FilePath,
                 name == "gone.tolv" ? f.programDirectory() : f.programDirectory() + "/user");
        QVERIFY(!f.state.DataChanged);
        QVERIFY(f.messages.log().isEmpty());
    }

    void startUpSurvivesARemovedDirectory() {
        WindowFixture f;
        f.storeText("Software\\Quenwick\\Tolvik", "FileIn", "arm.tolv");
        f.storeText("Software\\Quenwick\\Tolvik", "userPath", "user/gone");
        f.storeText("Software\\Quenwick\\Tolvik", "RunCount", "7");
        f.window->Form_Load();
        QVERIFY(!f.window->programEnded());
        QVERIFY(f.messages.log().isEmpty());
        QCOMPARE(f.box("Alpha")->text(), QString("1"));
        QCOMPARE(QDir::currentPath(), f.programDirectory());
    }

    void classEntriesOfTheFirstStarts() {
        WindowFixture f;
        f.window->Form_Load();
        f.window->Form_Load(); // a second start within the first two writes the same entries
        const QString handler = f.programDirectory() + "/../";
        QCOMPARE(classValue(f.store, ".Out"), QString("MyEditor.sh"));
        QCOMPARE(classValue(f.store, ".tolv"), QString("MyEditor.sh"));
        QCOMPARE(classValue(f.store, ".plt"), QString("Plotvanes"));
        QCOMPARE(classValue(f.store, "MyEditor.sh"), QString("Tolv Input file"));
        QCOMPARE(classValue(f.store, "MyEditor.sh\\shell\\open\\command"),
                 "\"" + handler + "MyEditor.sh\" %1");
        QCOMPARE(classValue(f.store, "Plotvanes\\shell\\open\\command"), "\"" + handler + "Plotvanes\" %1");
        QVERIFY(!f.store.keyExists(SettingsStore::Root::ClassesRoot, "MyEditor.sh\\DefaultIcon"));
    }

    void registrationRules() {
        WindowFixture f;
        FileAssociation association(f.store);
        QString dir = "/opt/q/";
        association.RegisterFileType("Abc", dir, "View", "Abc file", "/opt/q/abc.png");
        QCOMPARE(dir, QString("/opt/q/"));
        QCOMPARE(classValue(f.store, "View\\shell\\open\\command"), QString("\"/opt/q/View\" %1"));
        QCOMPARE(classValue(f.store, "View\\DefaultIcon"), QString("/opt/q/abc.png,0"));
        QString bare = "/opt/r";
        association.RegisterFileType("Abc", bare, "View", "Abc file", QString());
        QCOMPARE(bare, QString("/opt/r/"));
        QCOMPARE(classValue(f.store, "View\\shell\\open\\command"), QString("\"/opt/r/View\" %1"));
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
        QVERIFY(defaults.contains("text/html=firefox.desktop;\n"));
        QVERIFY(defaults.contains("application/x-quenwick-tolv=quenwick-myeditor.desktop;\n"));
        QVERIFY(defaults.contains("application/x-quenwick-plt=quenwick-plotvanes.desktop;\n"));
        QVERIFY(!defaults.contains("old.desktop"));
        QVERIFY(defaults.contains("[Added Associations]\nx=y;"));

        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QByteArray entry = fileBytes(data + "/applications/quenwick-myeditor.desktop");
        QVERIFY(entry.contains("Exec=\"" + QDir::cleanPath(f.programDirectory() + "/..").toUtf8() +
                               "/MyEditor.sh\" %f\n"));
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
