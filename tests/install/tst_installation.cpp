#include "support/TestFiles.h"

#include <QtTest>

#include <csignal>
#include <unistd.h>

const QString installSource = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../install");

namespace {
// An installation with the run script, a solver directory and a run directory under dir.
struct ScriptInstallation {
    explicit ScriptInstallation(const QString& relative) : runDirectory(dir.path() + "/Tolvik/" + relative) {
        QDir().mkpath(runDirectory);
        QDir().mkpath(program() + "/solver");
        for (const QString name : {"run-TolW.sh", "work-area.sh"})
            QFile::copy(installSource + "/" + name, program() + "/" + name);
    }
    QString program() const { return dir.path() + "/Tolvik"; }
    void addSolver(const QString& name, const QByteArray& script) const {
        writeFile(program() + "/solver/" + name, script);
        QFile::setPermissions(program() + "/solver/" + name,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The script started as Tolvik starts it; a size limit (in 512-byte blocks) stands for a full disk.
    void start(QProcess& process, const QString& file, const QString& ending = "exit",
               int sizeLimit = 0) const {
        process.setWorkingDirectory(runDirectory);
        const QString limit = sizeLimit ? QString::number(sizeLimit) : "unlimited";
        process.setChildProcessModifier([] { ::setsid(); }); // a signal to its group reaches no test
        process.start("/bin/sh", {"-c", "trap '' XFSZ; ulimit -f " + limit + "; exec /bin/sh \"$@\"", "sh",
                                  program() + "/run-TolW.sh", file, "user", ending});
        process.waitForStarted();
    }
    int run(const QString& file, const QString& ending = "exit", int sizeLimit = 0) {
        QProcess process;
        process.setProcessEnvironment(environment);
        start(process, file, ending, sizeLimit);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        output = process.readAllStandardOutput();
        errors = process.readAllStandardError();
        return process.exitCode();
    }
    QByteArray report() const { return fileBytes(runDirectory + "/~Tolvik.out"); }
    QByteArray kept(const QString& name) const {
        return fileBytes(runDirectory + "/output/" + name + ".out");
    }

    QTemporaryDir dir;
    QString runDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QByteArray output, errors;
};

QString toolOutput(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}
} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void everyShippedScriptPassesShellcheck() {
        const QString shellcheck = QStandardPaths::findExecutable("shellcheck");
        QVERIFY2(!shellcheck.isEmpty(), "shellcheck is installed by scripts/install-deps");
        const QStringList scripts{"run-TolW.sh", "MyEditor.sh", "notePad2", "Plotvanes",
                                  "Demo",        "Demo2",       "Run-Me",   "work-area.sh"};
        // Its findings show in the test's output.
        QCOMPARE(QProcess::execute("env", QStringList{"-C", installSource, shellcheck, "-x"} + scripts), 0);
    }

    // The run script for real, as Tolvik runs it: in the input file's directory, with three arguments.
    // Shell characters in the file name are never run, and the report lands in both output files.
    void theRunScriptKeepsTheReport() {
        ScriptInstallation in("user");
        const QString name = "my arm; $(touch hacked) 'x'.v2.tolv";
        QVERIFY(writeFile(in.runDirectory + "/" + name, "the answers\r\n"));
        QVERIFY(in.run(name) > 0); // without a solver, both files say what is missing
        for (const QString& part :
             QStringList{"No solver is installed", in.program() + "/solver/tolvik-solver",
                         "file=" + name + " directory=user ending=exit", "the answers"})
            QVERIFY2(in.report().contains(part.toUtf8()), qPrintable(part));
        QCOMPARE(in.kept("my arm; $(touch hacked) 'x'.v2"), in.report());
        // A solver gets the file as one argument; its report, its error output and its status are kept.
        in.addSolver("tolvik-solver",
                     "#!/bin/sh\necho \"solved [$1] in $(basename \"$PWD\")\"\necho warned >&2\nexit 5\n");
        QCOMPARE(in.run(name), 5);
        QCOMPARE((QByteArrayList{in.report(), in.kept("my arm; $(touch hacked) 'x'.v2")}),
                 QByteArrayList(2, "solved [" + name.toUtf8() + "] in user\nwarned\n"));
        QVERIFY(!QFile::exists(in.runDirectory + "/hacked"));
    }

    // A report is never lost or mixed: a report that could not be written or kept fails the run and
    // leaves the kept one as it was, a link is replaced rather than written through, a name that
    // begins with "-" reaches the solver as a path, and a second run in the directory waits for the first.
    void theRunScriptNeverLosesOrMixesReports() {
        ScriptInstallation in("user");
        // a.tolv's run waits for a line on its input, so that b.tolv's run meets it going.
        in.addSolver("tolvik-solver",
                     "#!/bin/sh\n[ \"$1\" != a.tolv ] || { echo started; read -r _; }\n"
                     "i=0; while [ $i -lt 200 ]; do echo \"$1 line $i\"; i=$((i+1)); done\n");
        QCOMPARE(in.run("-x.tolv"), 0);
        QVERIFY(in.report().startsWith("./-x.tolv line 0\n"));
        QProcess first, second;
        in.start(first, "a.tolv");
        QVERIFY(first.waitForReadyRead(30000));
        in.start(second, "b.tolv");
        QVERIFY(second.waitForReadyRead(30000));
        QCOMPARE(second.readLine(), "Another run is going in " + in.runDirectory.toUtf8() +
                                        "; this one waits for it to end ...\n");
        first.write("go\n");
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(30000) && second.waitForFinished(30000));
        QCOMPARE(first.exitCode() + second.exitCode(), 0);
        const QByteArray a = in.kept("a"), b = in.kept("b");
        QVERIFY(a.count("a.tolv line ") == 200 && b.count("b.tolv line ") == 200);
        QVERIFY(!a.contains("b.tolv") && !b.contains("a.tolv"));
        // On a full disk (2 KB of room) the report is cut: the run fails and output/b.out is kept.
        QCOMPARE(in.run("b.tolv", "exit", 4), 1);
        QVERIFY2(in.errors.contains("~Tolvik.out could not be written whole"), in.errors);
        QCOMPARE(in.kept("b"), b);
        // The kept copy cannot be made: b.tolv's report stays in ~Tolvik.out only.
        QVERIFY(QFile::remove(in.runDirectory + "/output/b.out") &&
                QDir().mkdir(in.runDirectory + "/output/b.out"));
        QCOMPARE(in.run("b.tolv"), 1);
        QVERIFY2(in.errors.contains("the report could not be kept as " + in.runDirectory.toUtf8() +
                                    "/output/b.out"),
                 in.errors);
        QCOMPARE(in.report(), b);
        // A link in the report's place is replaced; what it pointed at stays.
        QVERIFY(QDir().rmdir(in.runDirectory + "/output/b.out"));
        QVERIFY(writeFile(in.dir.path() + "/elsewhere", "theirs") &&
                QFile::remove(in.runDirectory + "/~Tolvik.out") &&
                QFile::link(in.dir.path() + "/elsewhere", in.runDirectory + "/~Tolvik.out"));
        QCOMPARE(in.run("b.tolv"), 0);
        QCOMPARE((QByteArrayList{fileBytes(in.dir.path() + "/elsewhere"), in.report(), in.kept("b")}),
                 (QByteArrayList{"theirs", b, b}));
        QCOMPARE(QDir(in.runDirectory).entryList(QDir::Files | QDir::Hidden).join(' '),
                 QString(".~Tolvik.lock ~Tolvik.out"));
    }

    // The DOS solver runs in DOSBox after the pause, from a directory DOSBox could not mount by its name:
    // it mounts links made for the run and removed after it, and exit or wait decides DOSBox's end.
    void theDosSolverRunsInDosBoxFromAnyDirectory() {
        ScriptInstallation in(QString::fromUtf8("my arms/Zoë \"test\""));
        in.addSolver("TOLVIK.EXE", "MZ");
        const QString bin = in.dir.path() + "/bin", log = in.dir.path() + "/dosbox.log";
        QDir().mkpath(bin);
        // The stand-in records its arguments and solves by copying TOLVIK.IN to TOLVIK.OUT, unless told
        // to fail.
        QVERIFY(writeFile(bin + "/dosbox",
                          "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$DOSBOX_LOG\"\n"
                          "c=${2#mount c }\nls \"$c\" >> \"$DOSBOX_LOG\"\n"
                          "[ -n \"$DOSBOX_FAILS\" ] || cp \"$c/TOLVIK.IN\" \"$c/TOLVIK.OUT\"\n"
                          "[ -z \"$DOSBOX_SIGNAL\" ] || kill -s \"$DOSBOX_SIGNAL\" 0\n"));
        QFile::setPermissions(bin + "/dosbox", QFile::ReadOwner | QFile::ExeOwner);
        QDir().mkpath(in.dir.path() + "/config/Quenwick");
        QVERIFY(writeFile(in.dir.path() + "/config/Quenwick/registry.reg",
                          "Quenwick Settings Store, format 1\n[Software\\Quenwick]\n\"tPause\"=\"0\"\n"));
        in.environment.insert("PATH", bin + ":" + in.environment.value("PATH"));
        in.environment.insert("DOSBOX_LOG", log);
        in.environment.insert("XDG_CONFIG_HOME", in.dir.path() + "/config");
        QVERIFY(writeFile(in.runDirectory + "/arm.tolv", "the answers\r\n"));
        QStringList runs;
        for (const QString ending : {"exit", "wait"}) {
            QCOMPARE(in.run("arm.tolv", ending), 0);
            QString recorded = QString::fromUtf8(fileBytes(log));
            const QString links = recorded.section('\n', 1, 1).section(' ', 2).section("/run", 0, 0);
            QVERIFY(links.startsWith("/tmp/tolvik-run.") && !QFileInfo::exists(links));
            runs << recorded.replace(links, "LINKS");
        }
        const QString mounts = "-c\nmount c LINKS/run\n-c\nmount d LINKS/solver\n-c\nc:\n-c\nd:\\TOLVIK.EXE "
                               "TOLVIK.IN\n";
        QCOMPARE(runs, (QStringList{mounts + "-c\nexit\nTOLVIK.IN\narm.tolv\noutput\n~Tolvik.out\n",
                                    mounts + "TOLVIK.IN\narm.tolv\noutput\n~Tolvik.out\n"}));
        QCOMPARE(in.output, "Waiting 0 s (the pause time set on the Run tab) before starting DOSBox …\n"
                            "the answers\r\n");
        QCOMPARE((QByteArrayList{in.report(), in.kept("arm")}), QByteArrayList(2, "the answers\r\n"));
        QCOMPARE(QDir(in.runDirectory).entryList(QDir::Files).join(' '), QString("arm.tolv ~Tolvik.out"));
        // An input too large for the disk's room runs nothing and keeps the kept report; a TOLVIK.OUT of
        // an earlier run never passes for the next one's.
        QVERIFY(writeFile(in.runDirectory + "/arm.tolv", QByteArray(3000, 'a')));
        QCOMPARE(in.run("arm.tolv", "exit", 4), 1);
        QVERIFY2(in.errors.contains("could not copy arm.tolv to TOLVIK.IN"), in.errors);
        QVERIFY(writeFile(in.runDirectory + "/TOLVIK.OUT", "an earlier run's"));
        in.environment.insert("DOSBOX_FAILS", "1");
        QCOMPARE(in.run("arm.tolv"), 1);
        QCOMPARE((QByteArrayList{in.report(), in.kept("arm")}),
                 QByteArrayList(2, "The DOS solver wrote no TOLVIK.OUT.\n"));
        // Ended by a signal while DOSBox runs, it says which, and leaves no links behind.
        for (const auto& [signal, status] : {std::pair("TERM", 143), {"INT", 130}, {"HUP", 129}}) {
            in.environment.insert("DOSBOX_SIGNAL", signal);
            QCOMPARE(in.run("arm.tolv"), status);
            const QString links = QString::fromUtf8(fileBytes(log)).section('\n', 1, 1).section(' ', 2);
            QVERIFY2(links.startsWith("/tmp/tolvik-run.") && !QFileInfo::exists(links), signal);
        }
    }

    // Ended by a signal (a log-out, kill, Ctrl+C) once its window is up, the program quits its loop and
    // ends normally; before that (an introduction on the screen) the signal ends it at once.
    void theProgramEndsOnASignal() {
        for (const bool introduced : {true, false}) {
            QTemporaryDir dir;
            const QString program = dir.path() + "/Quenwick/Tolvik",
                          store = dir.path() + "/config/Quenwick/registry.reg";
            QVERIFY(QDir().mkpath(program) && QDir().mkpath(dir.path() + "/config/Quenwick") &&
                    QFile::copy(TOLVIK_PROGRAM, program + "/tolvik"));
            if (introduced) // started before: no introduction is shown
                QVERIFY(writeFile(store, "Quenwick Settings Store, format 1\n[Software\\Quenwick\\Tolvik]\n"
                                         "\"RunCount\"=\"7\"\n"));
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const auto& [name, folder] : {std::pair<QString, QString>{"HOME", ""},
                                               {"XDG_CONFIG_HOME", "/config"},
                                               {"XDG_DATA_HOME", "/data"}})
                environment.insert(name, dir.path() + folder);
            QProcess tolvik;
            tolvik.setProcessEnvironment(environment);
            tolvik.start(program + "/tolvik");
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(program + "/User"),
                                     30000); // the start-up's checks ran
            QTest::qWait(3000);              // and the window is up
            ::kill(tolvik.processId(), SIGTERM);
            QVERIFY(tolvik.waitForFinished(30000));
            QCOMPARE((QList<int>{tolvik.exitStatus(), tolvik.exitCode()}),
                     (QList<int>{introduced ? QProcess::NormalExit : QProcess::CrashExit,
                                 introduced ? 0 : SIGTERM}));
        }
    }

    // Pictures of this build's window, a contents table and bookmarks, and text that can be searched.
    void theManualShowsTheWindow() {
        QTemporaryDir dir;
        const QString path = dir.path() + "/m.pdf", pictures = dir.path() + "/pictures";
        const QString source = QString::fromUtf8(fileBytes(QT_TESTCASE_SOURCEDIR "/../docs/manual.md"));
        QCOMPARE(QProcess::execute(MANUAL_PICTURES, {pictures, "/opt/quenwick/tolvik"}), 0);
        QCOMPARE(
            QProcess::execute(RENDER_MANUAL, {QT_TESTCASE_SOURCEDIR "/../docs/manual.md", pictures, path}),
            0);
        const QString pages = toolOutput("pdftotext", {"-layout", path, "-"}), words = pages.simplified();
        for (const QString part :
             {"Contents", "A first run", "The solver contract", "Figure 8. The E-mail dialog",
              "3 numbers expected, 2 given", "./Run-Me NAME User"})
            QVERIFY2(words.contains(part), qPrintable(part));
        QVERIFY(pages.count(QChar('\f')) >= 4);
        // No table's heading ends a page without its first rows.
        const QStringList sourceLines = source.split('\n');
        QStringList headings;
        for (qsizetype i = 1; i < sourceLines.size(); ++i)
            if (sourceLines[i].startsWith("| ---"))
                headings << sourceLines[i - 1].split('|', Qt::SkipEmptyParts).join(' ').simplified();
        QVERIFY(!headings.isEmpty());
        for (const QString& page : pages.split('\f')) {
            const QStringList lines = page.trimmed().split('\n');
            QVERIFY2(!headings.contains(lines.last().simplified()), qPrintable(lines.last()));
        }
        // Every section a bookmark at its own level, on the page the contents give for it.
        const QRegularExpression item(R"re(<(/?)outline>|<item page="(\d+)">([^<]+)</item>)re");
        QList<int> levels, sourceLevels;
        int level = 0;
        for (auto it = item.globalMatch(toolOutput("pdftohtml", {"-xml", "-stdout", "-i", "-q", path}));
             it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.captured(3).isEmpty()) {
                level += match.captured(1).isEmpty() ? 1 : -1;
                continue;
            }
            levels << level;
            QVERIFY2(words.contains(match.captured(3) + ' ' + match.captured(2)),
                     qPrintable(match.captured(3)));
        }
        for (const QString& line : source.split('\n'))
            if (line.startsWith("## ") || line.startsWith("### "))
                sourceLevels << line.indexOf(' ') - 1;
        QCOMPARE(levels, sourceLevels);
        // A picture that cannot be made, or is missing, fails the manual's build.
        QVERIFY(writeFile(dir.path() + "/file", ""));
        QCOMPARE(QProcess::execute(MANUAL_PICTURES, {dir.path() + "/file/pictures", "/opt"}), 1);
        QVERIFY(QFile::remove(pictures + "/run.png"));
        QCOMPARE(QProcess::execute(RENDER_MANUAL, {QT_TESTCASE_SOURCEDIR "/../docs/manual.md", pictures,
                                                   dir.path() + "/n.pdf"}),
                 1);
        QSet<QString> images; // an image object once, whatever pages show it
        for (const QString& line : toolOutput("pdfimages", {"-list", path}).split('\n').mid(2))
            images << line.simplified().section(' ', 10, 10);
        images.remove({});
        QVERIFY(images.size() >= 6);
    }

    // The viewers start what is there: $VISUAL, a graphical editor, a terminal editor in a terminal,
    // gnuplot for a plot; a missing file name or program is told on the error output.
    void viewersStartTheProgramThatIsThere_data() {
        QTest::addColumn<QString>("command");   // the script and its argument
        QTest::addColumn<QString>("installed"); // the programs on PATH
        QTest::addColumn<QString>("setting");   // one variable of the environment, NAME=value
        QTest::addColumn<QString>("seen");      // exit status | output | the error output's first words
        const auto row = [](const char* name, const char* command, const char* installed, const char* setting,
                            const QString& seen) {
            QTest::newRow(name) << command << installed << setting << seen;
        };
        row("VISUAL", "MyEditor.sh a b.tolv", "ed gedit", "VISUAL=ed -x", "0|ed -x a b.tolv|");
        row("graphical", "MyEditor.sh a.tolv", "gedit nano xterm", "", "0|gedit a.tolv|");
        row("EDITOR", "MyEditor.sh a.tolv", "nano xterm", "EDITOR=vi", "0|xterm -e vi a.tolv|");
        row("nano", "MyEditor.sh a.tolv", "nano vi x-terminal-emulator", "",
            "0|x-terminal-emulator -e nano a.tolv|");
        row("vi", "MyEditor.sh a.tolv", "vi xterm", "", "0|xterm -e vi a.tolv|");
        row("no terminal", "MyEditor.sh a.tolv", "vi", "", "127||MyEditor.sh: no terminal");
        row("no editor", "MyEditor.sh a.tolv", "xterm", "", "127||MyEditor.sh: no text");
        row("notePad2", "notePad2 a.out", "kate", "", "0|kate a.out|");
        row("Plotvanes", "Plotvanes a.plt", "gnuplot", "", "0|gnuplot -persist a.plt|");
        row("no gnuplot", "Plotvanes a.plt", "", "", "127||Plotvanes: cannot show");
        for (const char* script : {"MyEditor.sh", "notePad2", "Plotvanes"})
            row(script, script, "ed gnuplot", "VISUAL=ed", QString("2||%1: no file").arg(script));
    }
    void viewersStartTheProgramThatIsThere() {
        QFETCH(QString, command);
        QFETCH(QString, installed);
        QFETCH(QString, setting);
        QFETCH(QString, seen);
        QTemporaryDir bin;
        QVERIFY(QFile::link("/usr/bin/dirname", bin.path() + "/dirname"));
        for (const QString& program : installed.split(' ', Qt::SkipEmptyParts))
            QVERIFY(writeFile(bin.path() + "/" + program, "#!/bin/sh\necho \"${0##*/} $*\"\n") &&
                    QFile::setPermissions(bin.path() + "/" + program, QFile::ReadOwner | QFile::ExeOwner));
        QProcessEnvironment environment;
        environment.insert("PATH", bin.path());
        if (!setting.isEmpty())
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess process;
        process.setProcessEnvironment(environment);
        QStringList arguments{installSource + "/" + command.section(' ', 0, 0)};
        if (command.contains(' '))
            arguments << command.section(' ', 1);
        process.start("/bin/sh", arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(QString("%1|%2|%3")
                     .arg(process.exitCode())
                     .arg(QString(process.readAllStandardOutput()).trimmed(),
                          QString(process.readAllStandardError()).section(' ', 0, 2)),
                 seen);
    }

    // The commands the tips name run an example, or a file of the user's directory (the one they take
    // when none is named), from a terminal, started by a path relative to any directory.
    void demosAndFilesRunFromATerminal() {
        ScriptInstallation in("user");
        QDir().mkpath(in.program() + "/demos");
        for (const QString name : {"Demo", "Demo2", "Run-Me", "demos/ExNASA.Tod.Tolv", "demos/ExNASA.1.Tolv"})
            QVERIFY(QFile::copy(installSource + "/" + name, in.program() + "/" + name));
        QVERIFY(writeFile(in.runDirectory + "/arm.tolv", "the answers\r\n"));
        in.addSolver("tolvik-solver", "#!/bin/sh\necho \"solved $1 in $(basename \"$PWD\")\"\n");
        const auto fromParent = [&in](const QStringList& command) {
            QProcess process;
            process.setWorkingDirectory(in.dir.path());
            process.start("/bin/sh", command);
            return process.waitForFinished(60000) ? process.exitCode() : -1;
        };
        QCOMPARE(fromParent({"Tolvik/Demo"}) + fromParent({"Tolvik/Demo2"}) +
                     fromParent({"./Tolvik/Run-Me", "arm"}),
                 0);
        QCOMPARE((QByteArrayList{fileBytes(in.program() + "/demos/output/ExNASA.1.out"),
                                 fileBytes(in.program() + "/demos/output/ExNASA.Tod.out"), in.kept("arm")}),
                 (QByteArrayList{"solved ExNASA.1.Tolv in demos\n", "solved ExNASA.Tod.Tolv in demos\n",
                                 "solved arm.tolv in user\n"}));
        QVERIFY(QProcess::execute("/bin/sh", {in.program() + "/Run-Me", "none", "User"}) != 0);
        QVERIFY(!QFile::exists(qEnvironmentVariable("XDG_DATA_HOME") + "/Quenwick")); // no work area taken
        // A word they do not take is told on the error output, and nothing runs.
        for (const QString name : {"Demo", "Demo2", "Run-Me"}) {
            QProcess process;
            process.start("/bin/sh", {in.program() + "/" + name, "arm", "User", "later"});
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE((QStringList{QString::number(process.exitCode()), process.readAllStandardOutput(),
                                  QString(process.readAllStandardError()).section(' ', 0, 1)}),
                     (QStringList{"2", "", "Usage: " + name}));
        }
    }

    // An installation the user cannot write, as a package lays it out: the commands copy the examples to
    // the user's work area, run there, and take the user's own solver before the installation's. Nothing
    // is written in the installation.
    void aReadOnlyInstallationRunsInTheUsersWorkArea() {
        ScriptInstallation in("user");
        const QString data = in.dir.path() + "/data", work = data + "/Quenwick/Tolvik";
        QDir().mkpath(in.program() + "/demos");
        for (const QString name : {"Demo2", "Run-Me", "demos/ExNASA.Tod.Tolv"})
            QVERIFY(QFile::copy(installSource + "/" + name, in.program() + "/" + name));
        in.addSolver("tolvik-solver", "#!/bin/sh\necho \"installed: $1 in $(basename \"$PWD\")\"\n");
        QVERIFY(QDir().mkpath(data));
        const auto files = [&in] {
            QStringList found;
            for (QDirIterator it(in.program(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDirIterator::Subdirectories);
                 it.hasNext();)
                found << it.next();
            return found;
        };
        const QStringList installed = files();
        QCOMPARE(QProcess::execute("chmod", {"-R", "a+rX,a-w", in.program()}), 0);
        // Root may write anywhere: the commands run as nobody then, who owns the data directory.
        const bool root = ::geteuid() == 0;
        if (root) {
            QCOMPARE(QProcess::execute("chmod", {"755", in.dir.path()}), 0);
            QCOMPARE(QProcess::execute("chown", {"65534:65534", data}), 0);
        }
        const auto run = [&](const QStringList& command) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_DATA_HOME", data);
            process.setProcessEnvironment(environment);
            const QStringList user{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
            const QStringList full = (root ? user : QStringList{}) + QStringList{"/bin/sh"} + command;
            process.start(full.first(), full.mid(1));
            return process.waitForFinished(60000) ? process.exitCode() : -1;
        };
        QCOMPARE(run({in.program() + "/Demo2"}), 0);
        QCOMPARE(fileBytes(work + "/demos/output/ExNASA.Tod.out"), "installed: ExNASA.Tod.Tolv in demos\n");
        QCOMPARE(QFileInfo(work + "/demos/ExNASA.Tod.Tolv").permissions() &
                     (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
                 0);
        QCOMPARE(fileBytes(work + "/demos/ExNASA.Tod.Tolv"),
                 fileBytes(installSource + "/demos/ExNASA.Tod.Tolv"));
        // The user brings a solver of their own.
        QVERIFY(QDir().mkpath(work + "/solver") && QDir().mkpath(work + "/User"));
        QVERIFY(writeFile(work + "/User/arm.tolv", "the answers\r\n"));
        QVERIFY(writeFile(work + "/solver/tolvik-solver", "#!/bin/sh\necho \"own: $1\"\n"));
        QFile::setPermissions(work + "/solver/tolvik-solver",
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        if (root)
            QCOMPARE(QProcess::execute("chown", {"-R", "65534:65534", data}), 0);
        QCOMPARE(run({in.program() + "/Run-Me", "arm"}), 0);
        QCOMPARE(fileBytes(work + "/User/output/arm.out"), "own: arm.tolv\n");
        QCOMPARE(files(), installed);
        QCOMPARE(QProcess::execute("chmod", {"-R", "u+w", in.program()}), 0);
    }

    // The package's desktop entries, AppStream data and manual page pass their validators without a word.
    void thePackagesDesktopFilesAreValid() {
        QTemporaryDir dir;
        const QString source = installSource + "/desktop/";
        const QStringList names{"quenwick-tolvik.desktop", "quenwick-myeditor.desktop",
                                "quenwick-plotvanes.desktop", "com.quenwick.tolvik.metainfo.xml", "tolvik.1"};
        for (const QString& name : names) {
            QString text = QString::fromUtf8(fileBytes(source + name + ".in"));
            text.replace("@PROJECT_VERSION@", "6.711")
                .replace("@TOLVIK_RELEASE_DATE@", "2026-12-07")
                .replace("@TOLVIK_INSTALLED_PARENT@", "/usr/lib/quenwick");
            QVERIFY(
                writeFile(dir.filePath(name),
                          text.replace("@TOLVIK_INSTALLED_PROGRAM@", "/usr/lib/quenwick/tolvik").toUtf8()));
        }
        const auto quiet = [](const QString& program, const QStringList& arguments) {
            QProcess tool;
            tool.start(program, arguments);
            if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
                return program + " did not run";
            return QString::number(tool.exitCode()) + ' ' + tool.readAllStandardOutput() +
                   tool.readAllStandardError();
        };
        QCOMPARE(quiet("desktop-file-validate",
                       {dir.filePath(names[0]), dir.filePath(names[1]), dir.filePath(names[2])}),
                 QString("0 "));
        QVERIFY(quiet("appstreamcli", {"validate", "--no-net", "--pedantic", dir.filePath(names[3])})
                    .startsWith("0 "));
        QVERIFY(!quiet("appstreamcli", {"validate", "--no-net", "--pedantic", dir.filePath(names[3])})
                     .contains(": "));
        QCOMPARE(quiet("groff", {"-man", "-ww", "-z", dir.filePath(names[4])}), QString("0 "));
        QCOMPARE(quiet("xmllint", {"--noout", source + "quenwick-tolvik.xml"}), QString("0 "));
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
