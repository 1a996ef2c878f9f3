#include "files/FileChannel.h"
#include "files/ItemReader.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString installSource = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../install");

// A program directory with the run script and a user directory holding one input file.
struct Installation {
    Installation() {
        QDir().mkpath(program() + "/user");
        QDir().mkpath(program() + "/solver");
        QFile::copy(installSource + "/run-TolW.sh", program() + "/run-TolW.sh");
    }
    QString program() const { return dir.path() + "/Tolvik"; }
    // Runs the script as Tolvik does: in the input file's directory, with three arguments.
    int run(const QString& file, QString* log = nullptr) {
        QProcess script;
        script.setWorkingDirectory(program() + "/user");
        script.start("/bin/sh", {program() + "/run-TolW.sh", file, "user", "exit"});
        script.waitForFinished(30000);
        if (log)
            *log = QString::fromUtf8(script.readAllStandardError());
        return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
    }
    QTemporaryDir dir;
};
} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void everyShippedScriptPassesShellcheck() {
        const QString shellcheck = QStandardPaths::findExecutable("shellcheck");
        QVERIFY2(!shellcheck.isEmpty(), "shellcheck is installed by scripts/install-deps");
        QProcess check;
        check.start(shellcheck, {installSource + "/run-TolW.sh", installSource + "/MyEditor.sh",
                                 installSource + "/notePad2", installSource + "/Plotvanes"});
        QVERIFY(check.waitForFinished(60000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
    }

    void theSolverGetsTheFileAsOneArgumentAndItsReportIsKept() {
        Installation i;
        const QString name = "my arm; $(touch hacked) 'x'.tolv";
        QVERIFY(writeFile(i.program() + "/user/" + name, "arm\r\n"));
        const QString solver = i.program() + "/solver/tolvik-solver";
        QVERIFY(writeFile(solver, "#!/bin/sh\necho \"solved [$1] in $(basename \"$PWD\")\"\n"));
        QFile::setPermissions(solver, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(i.run(name), 0);
        const QByteArray report = "solved [" + name.toUtf8() + "] in user\n";
        QCOMPARE(fileBytes(i.program() + "/user/~Tolvik.out"), report);
        QCOMPARE(fileBytes(i.program() + "/user/output/my arm; $(touch hacked) 'x'.out"), report);
        QVERIFY(!QFile::exists(i.program() + "/user/hacked"));
    }

    void aFailingSolverFailsTheRun() {
        Installation i;
        QVERIFY(writeFile(i.program() + "/user/arm.v2.tolv", "arm\r\n"));
        const QString solver = i.program() + "/solver/tolvik-solver";
        QVERIFY(writeFile(solver, "#!/bin/sh\necho diverged\nexit 5\n"));
        QFile::setPermissions(solver, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(i.run("arm.v2.tolv"), 5);
        QCOMPARE(fileBytes(i.program() + "/user/output/arm.v2.out"), QByteArray("diverged\n"));
    }

    void withoutASolverBothFilesSayWhatIsMissing() {
        Installation i;
        QVERIFY(writeFile(i.program() + "/user/arm.tolv", "the answers\r\n"));
        QString log;
        QVERIFY(i.run("arm.tolv", &log) != 0);
        QVERIFY(log.contains("no solver"));
        const QByteArray report = fileBytes(i.program() + "/user/~Tolvik.out");
        QVERIFY(report.contains("No solver is installed"));
        QVERIFY(report.contains((i.program() + "/solver/tolvik-solver").toUtf8()));
        QVERIFY(report.contains("file=arm.tolv directory=user ending=exit"));
        QVERIFY(report.contains("the answers"));
        QCOMPARE(fileBytes(i.program() + "/user/output/arm.out"), report);
    }

    void theManualIsRenderedToPdf() {
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute(RENDER_MANUAL,
                                   {QT_TESTCASE_SOURCEDIR "/../docs/manual.md", dir.path() + "/m.pdf"}),
                 0);
        const QByteArray pdf = fileBytes(dir.path() + "/m.pdf");
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") >= 2);
    }

    void theExamplesAreCompleteInputFiles() {
        const QStringList names{"ExNASA.Tod", "ExNASA.1", "ExNASA.2", "ExAlpha.1"};
        for (const QString& name : names) {
            ProgramState state;
            FileChannel channel;
            state.FileNum = channel.FreeFile();
            channel.openForInput(state.FileNum, installSource + "/demos/" + name + ".Tolv");
            ItemReader reader(state, channel);
            reader.readRecord();
            QCOMPARE(state.answers.DataName, name);
            QCOMPARE(state.SolverCount, std::int16_t{5});
            for (const QString& answer : state.answers.Answers)
                QVERIFY2(!answer.isEmpty() && answer != ItemReader::EndOfFile, qPrintable(name));
            QCOMPARE(reader.ReadItem(), ItemReader::EndOfFile);
        }
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
