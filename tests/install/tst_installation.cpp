#include "files/FileChannel.h"
#include "files/ItemReader.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

const QString installSource = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../install");

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void everyShippedScriptPassesShellcheck() {
        const QString shellcheck = QStandardPaths::findExecutable("shellcheck");
        QVERIFY2(!shellcheck.isEmpty(), "shellcheck is installed by scripts/install-deps");
        const QStringList scripts{"run-TolW.sh", "MyEditor.sh", "notePad2", "Plotvanes"};
        // Its findings show in the test's output.
        QCOMPARE(QProcess::execute("env", QStringList{"-C", installSource, shellcheck} + scripts), 0);
    }

    // The run script for real, as Tolvik runs it: in the input file's directory, with three arguments.
    // Shell characters in the file name are never run, and the report lands in both output files.
    void theRunScriptKeepsTheReport() {
        QTemporaryDir dir;
        const QString program = dir.path() + "/Tolvik", user = program + "/user";
        const QString solver = program + "/solver/tolvik-solver";
        QVERIFY(QDir().mkpath(user) && QDir().mkpath(program + "/solver"));
        QVERIFY(QFile::copy(installSource + "/run-TolW.sh", program + "/run-TolW.sh"));
        const QString name = "my arm; $(touch hacked) 'x'.v2.tolv";
        QVERIFY(writeFile(user + "/" + name, "the answers\r\n"));
        const QStringList run{"-C", user, "/bin/sh", program + "/run-TolW.sh", name, "user", "exit"};
        const QString saved = user + "/output/my arm; $(touch hacked) 'x'.v2.out";
        QVERIFY(QProcess::execute("env", run) > 0); // without a solver, both files say what is missing
        const QByteArray report = fileBytes(user + "/~Tolvik.out");
        for (const QString& part : QStringList{"No solver is installed", solver,
                                               "file=" + name + " directory=user ending=exit", "the answers"})
            QVERIFY2(report.contains(part.toUtf8()), qPrintable(part));
        QCOMPARE(fileBytes(saved), report);
        // A solver gets the file as one argument; its report and its status are kept.
        QVERIFY(writeFile(solver, "#!/bin/sh\necho \"solved [$1] in $(basename \"$PWD\")\"\nexit 5\n"));
        QFile::setPermissions(solver, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(QProcess::execute("env", run), 5);
        QCOMPARE((QByteArrayList{fileBytes(user + "/~Tolvik.out"), fileBytes(saved)}),
                 QByteArrayList(2, "solved [" + name.toUtf8() + "] in user\n"));
        QVERIFY(!QFile::exists(user + "/hacked"));
    }

    void theManualIsRenderedToPdf() {
        QTemporaryDir dir;
        const QString path = dir.path() + "/m.pdf";
        QCOMPARE(QProcess::execute(RENDER_MANUAL, {QT_TESTCASE_SOURCEDIR "/../docs/manual.md", path}), 0);
        const QByteArray pdf = fileBytes(path);
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") >= 2);
    }

    void theExamplesAreCompleteInputFiles() {
        for (const QString name : {"ExNASA.Tod", "ExNASA.1", "ExNASA.2", "ExAlpha.1"}) {
            ProgramState state;
            FileChannel channel;
            state.FileNum = channel.FreeFile();
            channel.openForInput(state.FileNum, installSource + "/demos/" + name + ".Tolv");
            ItemReader reader(state, channel);
            reader.readRecord();
            QCOMPARE(state.answers.DataName + " with solver count " + QString::number(state.SolverCount),
                     name + " with solver count 5");
            for (const QString& answer : state.answers.Answers)
                QVERIFY2(!answer.isEmpty() && answer != ItemReader::EndOfFile, qPrintable(name));
            QCOMPARE(reader.ReadItem(), ItemReader::EndOfFile);
        }
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
