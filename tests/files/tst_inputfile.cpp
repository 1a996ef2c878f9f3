#include "files/Blanks.h"
#include "files/FileChannel.h"
#include "files/ItemReader.h"
#include "platform/TextEncoding.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include "support/TestFiles.h"

namespace {
const QStringList answerBoxes{"Alpha",      "Beta",        "Delta",         "A_Distance",
                              "P_Distance", "N2_Distance", "Base_Distance", "Q_Angle"};

QByteArray golden(const QString& name) {
    return fileBytes(QStringLiteral(QT_TESTCASE_SOURCEDIR "/files/golden/") + name);
}

// Reads the bytes the way Open does and answers the record and the items after it.
struct ReadBack {
    explicit ReadBack(const QByteArray& bytes) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(bytes);
        buffer->open(QIODevice::ReadOnly);
        state.FileNum = channel.FreeFile();
        channel.openDevice(state.FileNum, std::move(buffer));
        ItemReader(state, channel).readRecord();
    }
    QStringList answers() const {
        return QStringList(state.answers.Answers.begin(), state.answers.Answers.end());
    }
    ProgramState state;
    FileChannel channel;
};

QString randomCodePageText(QRandomGenerator& random) {
    static const QString alphabet = [] {
        QByteArray bytes;
        for (int b = 0x20; b <= 0xFF; ++b)
            if (b != '!' && b != 0x7F && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
                bytes.append(static_cast<char>(b));
        return TextEncoding::fromCodePage(bytes);
    }();
    QString text;
    const int length = random.bounded(0, 40);
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(alphabet.size())];
    return text.startsWith(QLatin1String("-999")) ? text.mid(1) : text;
}
} // namespace

class TestInputFile : public QObject {
    Q_OBJECT

    void saveAs(WindowFixture& f, const QString& path) {
        f.fileDialogs.choosePath(path);
        f.control<QAction>("mnuFileSaveAs")->trigger();
    }

private slots:
    void writesTheDefaultAnswersByteForByte_data() {
        QTest::addColumn<bool>("withSolver");
        QTest::addColumn<QString>("goldenFile");
        QTest::newRow("with solver variables") << true << "default-with-solver.tolv";
        QTest::newRow("without solver variables") << false << "default-without-solver.tolv";
    }
    void writesTheDefaultAnswersByteForByte() {
        QFETCH(bool, withSolver);
        QFETCH(QString, goldenFile);
        WindowFixture f;
        if (!withSolver)
            f.control<QPushButton>("cmdDefaultSolverData")->click();
        const QString path = f.programDirectory() + "/MyArm.tolv";
        saveAs(f, path);
        QCOMPARE(fileBytes(path), golden(goldenFile));
        QCOMPARE(f.state.SolverCount, std::int16_t(withSolver ? 5 : 0));
        QVERIFY(f.messages.log().isEmpty());
    }

    void onlyRemaxDetailAndDeltaDecideTheSolverSection_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QByteArray>("flagLine");
        QTest::addColumn<QByteArray>("remaxLine");
        QTest::newRow("predamp and damp only")
            << QStringList{"", "", "", ".3", ".4"} << QByteArray("N\t\t!") << QByteArray();
        QTest::newRow("blank remax") << QStringList{"   ", "", "", "", ""} << QByteArray("Y\t\t!")
                                     << QByteArray("-999  \t\t! 20          1. \xbb  REMAX: Maxi\r\n");
    }
    void onlyRemaxDetailAndDeltaDecideTheSolverSection() {
        QFETCH(QStringList, values);
        QFETCH(QByteArray, flagLine);
        QFETCH(QByteArray, remaxLine);
        WindowFixture f;
        const QStringList boxes{"Remax", "Detail", "DeltaSolv", "PreDamp", "Damp"};
        for (int i = 0; i < 5; ++i)
            f.box(boxes[i])->setText(values[i]);
        const QString path = f.programDirectory() + "/s.tolv";
        saveAs(f, path);
        const QList<QByteArray> lines = fileBytes(path).split('\n');
        QVERIFY(lines[11].startsWith(flagLine));
        if (!remaxLine.isEmpty())
            QCOMPARE(lines[12] + '\n', remaxLine);
        else
            QCOMPARE(lines.size(), 13); // twelve lines and the empty rest after the last CR LF
    }

    void valuesAreTrimmedAndEmptyOnesMarkedButNeverCut() {
        WindowFixture f;
        f.box("Alpha")->setText("   ");
        f.box("Beta")->setText("  7 8  ");
        f.box("Delta")->setText(QString(40000, '7'));
        f.box("Note2")->clear();
        const QString path = f.programDirectory() + "/t.tolv";
        saveAs(f, path);
        const QList<QByteArray> lines = fileBytes(path).split('\n');
        QVERIFY(lines[1].startsWith("-999  \t\t! 1. "));
        QVERIFY(lines[2].startsWith("7 8  \t\t! 2. "));
        QVERIFY(lines[3].startsWith(QByteArray(40000, '7') + "  \t\t! 3. "));
        QVERIFY(lines[10].startsWith("-999  \t\t!     \xbb Note2"));
    }

    void aLineBreakNeverSplitsAnItem() {
        WindowFixture f;
        const QString path = f.programDirectory() + "/two\r\nlines.tolv";
        saveAs(f, path);
        const QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.startsWith("two  lines  \t\t!* "));
        QCOMPARE(bytes.count("\r\n"), 17);
        QCOMPARE(ReadBack(bytes).state.answers.Note1, QString("Keep notes for future runs"));
    }

    void savedNameDropsEveryTolv_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("savedName");
        QTest::newRow("upper case") << "Run.TOLV" << QByteArray("Run");
        QTest::newRow("twice") << "a.tolv.tolv" << QByteArray("a");
        QTest::newRow("other extension") << "test.txt" << QByteArray("test.txt");
    }
    void savedNameDropsEveryTolv() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, savedName);
        WindowFixture f;
        saveAs(f, f.programDirectory() + "/" + fileName);
        QVERIFY(fileBytes(f.programDirectory() + "/" + fileName).startsWith(savedName + "  \t\t!* "));
        QCOMPARE(ReadBack(fileBytes(f.programDirectory() + "/" + fileName)).state.answers.DataName,
                 QString(savedName));
    }

    void headerDateFollowsTheLocaleWhereTheCodePageCanHoldIt_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("date");
        QTest::newRow("English") << QLocale(QLocale::English) << QTime(0, 9)
                                 << "December 05, 2023 @ 12:09 AM";
        QTest::newRow("German") << QLocale(QLocale::German) << QTime(0, 9) << "Dezember 05, 2023 @ 12:09 AM";
        QTest::newRow("Russian") << QLocale(QLocale::Russian) << QTime(0, 9)
                                 << "December 05, 2023 @ 12:09 AM";
        QTest::newRow("Japanese, afternoon")
            << QLocale(QLocale::Japanese) << QTime(15, 7) << "December 05, 2023 @ 3:07 PM";
    }
    void headerDateFollowsTheLocaleWhereTheCodePageCanHoldIt() {
        QFETCH(QLocale, locale);
        QFETCH(QTime, time);
        QFETCH(QString, date);
        WindowFixture f(locale);
        f.now = QDateTime(QDate(2023, 12, 5), time);
        saveAs(f, f.programDirectory() + "/d.tolv");
        QVERIFY(f.messages.log().isEmpty());
        const QString header =
            TextEncoding::fromCodePage(fileBytes(f.programDirectory() + "/d.tolv").split('\r')[0]);
        QVERIFY2(header.endsWith(" 8, and  5          " + date), qPrintable(header));
    }

    void readerRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("note2");
        QTest::addColumn<int>("solverCount");
        QTest::addColumn<QString>("remax");
        const QByteArray tail = "n1\r\nn2\r\nN\r\n";
        QTest::newRow("-999 prefixes")
            << QByteArray("x\r\n-999\r\n-9990  ! a\r\n-999.5\r\n -999x\r\n-99\r\n6\r\n7\r\n8\r\n") + tail
            << QStringList{"", "", "", "", "-99", "6", "7", "8"} << "n2" << 0 << "";
        QTest::newRow("! cuts") << QByteArray("x\r\n a b !c!d\r\n!\r\nq!\r\n4\r\n5\r\n6\r\n7\r\n8\r\n") + tail
                                << QStringList{"a b", "", "q", "4", "5", "6", "7", "8"} << "n2" << 0 << "";
        QTest::newRow("TABs removed")
            << QByteArray("x\r\n\t1\t2\t\t! l\r\n \t 3 \t \r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n") + tail
            << QStringList{"12", "3", "3", "4", "5", "6", "7", "8"} << "n2" << 0 << "";
        QTest::newRow("short file") << QByteArray("x\r\n1\r\n2\r\n")
                                    << QStringList{"1",     "2",     "-EOF-", "-EOF-",
                                                   "-EOF-", "-EOF-", "-EOF-", "-EOF-"}
                                    << "-EOF-" << 0 << "";
        QTest::newRow("lower-case y")
            << QByteArray("x\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nn1\r\nn2\r\ny\r\n20\r\n")
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"} << "n2" << 0 << "";
        QTest::newRow("Y")
            << QByteArray("x\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nn1\r\nn2\r\nY \t\t! 22\r\n20 ! r\r\n")
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"} << "n2" << 5 << "20";
        QTest::newRow("empty line 1")
            << QByteArray("\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n") + tail
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"} << "n2" << 0 << "";
        QTest::newRow("lone CR and LF")
            << QByteArray("x\r1\n2\r\r3\n4\r5\r6\r7\r8\rn1\rn2")
            << QStringList{"1", "2", "", "3", "4", "5", "6", "7"} << "n1" << 0 << "";
        QTest::newRow("no line end") << QByteArray("only one line") << QStringList(8, "-EOF-") << "-EOF-" << 0
                                     << "";
        QTest::newRow("code page bytes")
            << QByteArray("x\r\n\x80\xbb\x81\x99\r\n") << QStringList{QString::fromUtf8("€»\u0081™"),
                                                                      "-EOF-",
                                                                      "-EOF-",
                                                                      "-EOF-",
                                                                      "-EOF-",
                                                                      "-EOF-",
                                                                      "-EOF-",
                                                                      "-EOF-"}
            << "-EOF-" << 0 << "";
    }
    void readerRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, answers);
        QFETCH(QString, note2);
        QFETCH(int, solverCount);
        QFETCH(QString, remax);
        ReadBack read(bytes);
        QCOMPARE(read.answers(), answers);
        QCOMPARE(read.state.answers.Note2, note2);
        QCOMPARE(read.state.SolverCount, std::int16_t(solverCount));
        QCOMPARE(read.state.answers.SolverVars.Remax, remax);
    }

    void readerKeepsOnlyTheLastPartOfTheSavedName() {
        QCOMPARE(ReadBack("C:\\Work\\Arm  \t\t!* 8\r\n").state.answers.DataName, QString("Arm"));
    }

    void randomAnswerSetsSurviveWriteAndRead() {
        WindowFixture f;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 25; ++round) {
            QStringList written;
            for (const QString& name : answerBoxes + QStringList{"Note1", "Note2", "Remax", "Detail",
                                                                 "DeltaSolv", "PreDamp", "Damp"}) {
                const QString text = randomCodePageText(random);
                f.box(name)->setText(text);
                written << withoutBlanks(text);
            }
            const QString path = f.programDirectory() + QString("/r%1.tolv").arg(round);
            saveAs(f, path);
            ReadBack read(fileBytes(path));
            QCOMPARE(read.answers(), written.mid(0, 8));
            QCOMPARE(read.state.answers.Note1, written[8]);
            QCOMPARE(read.state.answers.Note2, written[9]);
            const bool withSolver = !(written[10] + written[11] + written[12]).isEmpty();
            QCOMPARE(read.state.answers.SolverVars.Damp, withSolver ? written[14] : QString());
        }
    }

    void fuzzCorpusReadsWithoutHarm() {
        QDirIterator files(QStringLiteral(QT_TESTCASE_SOURCEDIR "/files/fuzz-corpus"), QDir::Files);
        int count = 0;
        while (files.hasNext()) {
            ReadBack read(fileBytes(files.next()));
            const SolverVariables& solver = read.state.answers.SolverVars;
            const QStringList values =
                read.answers() +
                QStringList{read.state.answers.Note1, read.state.answers.Note2, solver.Remax, solver.Detail,
                            solver.DeltaSolv,         solver.PreDamp,           solver.Damp};
            // Every value obeys the reader's rules whatever the bytes were.
            for (const QString& value : values) {
                if (value == "-EOF-")
                    continue;
                QVERIFY(!value.contains('\t') && !value.contains('!') && !value.startsWith("-999"));
                QVERIFY(!value.startsWith(' ') && !value.endsWith(' '));
            }
            ++count;
        }
        QVERIFY(count >= 4);
    }
};

QTEST_MAIN(TestInputFile)
#include "tst_inputfile.moc"
