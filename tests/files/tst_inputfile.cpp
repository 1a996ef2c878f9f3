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

    // Saves the form as the named file in the program's directory and answers what was written.
    QByteArray saveAs(WindowFixture& f, const QString& name) {
        f.fileDialogs.choosePath(f.programDirectory() + "/" + name);
        f.control<QAction>("mnuFileSaveAs")->trigger();
        return fileBytes(f.programDirectory() + "/" + name);
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
        QCOMPARE(saveAs(f, "MyArm.tolv"), fileBytes(QT_TESTCASE_SOURCEDIR "/files/golden/" + goldenFile));
        QCOMPARE(f.state.SolverCount, std::int16_t(withSolver ? 5 : 0));
        QVERIFY(f.messages.log().isEmpty());
    }

    void onlyRemaxDetailAndDeltaDecideTheSolverSection_data() {
        QTest::addColumn<QStringList>("values"); // Remax, Detail, DeltaSolv, PreDamp, Damp
        QTest::addColumn<QByteArray>("flag");
        QTest::addColumn<QByteArray>("remaxLine"); // empty: no solver section follows
        QTest::newRow("predamp and damp only")
            << QStringList{"", "", "", ".3", ".4"} << QByteArray("N\t\t!") << QByteArray();
        QTest::newRow("blank remax") << QStringList{"   ", "", "", "", ""} << QByteArray("Y\t\t!")
                                     << QByteArray("-999  \t\t! 20          1. \xbb  REMAX: Maxi\r");
    }
    void onlyRemaxDetailAndDeltaDecideTheSolverSection() {
        QFETCH(QStringList, values);
        QFETCH(QByteArray, flag);
        QFETCH(QByteArray, remaxLine);
        WindowFixture f;
        const QStringList boxes{"Remax", "Detail", "DeltaSolv", "PreDamp", "Damp"};
        for (int i = 0; i < 5; ++i)
            f.box(boxes[i])->setText(values[i]);
        const QList<QByteArray> lines = saveAs(f, "s.tolv").split('\n');
        QVERIFY(lines[11].startsWith(flag));
        QCOMPARE(lines.value(12), remaxLine);
    }

    void valuesAreTrimmedAndEmptyOnesMarkedButNeverCut() {
        WindowFixture f;
        f.box("Alpha")->setText("   ");
        f.box("Beta")->setText("  7 8  ");
        f.box("Delta")->setText(QString(40000, '7'));
        f.box("Note2")->clear();
        const QList<QByteArray> lines = saveAs(f, "t.tolv").split('\n');
        QVERIFY(lines[1].startsWith("-999  \t\t! 1. "));
        QVERIFY(lines[2].startsWith("7 8  \t\t! 2. "));
        QVERIFY(lines[3].startsWith(QByteArray(40000, '7') + "  \t\t! 3. "));
        QVERIFY(lines[10].startsWith("-999  \t\t!     \xbb Note2"));
    }

    void aLineBreakNeverSplitsAnItem() {
        WindowFixture f;
        const QByteArray bytes = saveAs(f, "two\r\nlines.tolv");
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
        const QByteArray bytes = saveAs(f, fileName);
        QVERIFY(bytes.startsWith(savedName + "  \t\t!* "));
        QCOMPARE(ReadBack(bytes).state.answers.DataName, QString(savedName));
        // The reader keeps only the last part of a saved path.
        QCOMPARE(ReadBack("C:\\Work\\Arm  \t\t!* 8\r\n").state.answers.DataName, QString("Arm"));
    }

    void headerDateFollowsTheLocaleWhereTheCodePageCanHoldIt_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("date");
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
        const QString header = TextEncoding::fromCodePage(saveAs(f, "d.tolv").split('\r')[0]);
        QVERIFY(f.messages.log().isEmpty());
        QVERIFY2(header.endsWith(" 8, and  5          " + date), qPrintable(header));
    }

    void readerRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("rest"); // Note2, SolverCount, Remax
        const QByteArray items = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", tail = "n1\r\nn2\r\nN\r\n";
        const QStringList numbers{"1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("-999 prefixes")
            << "x\r\n-999\r\n-9990  ! a\r\n-999.5\r\n -999x\r\n-99\r\n" + items.mid(15) + tail
            << QStringList{"", "", "", "", "-99", "6", "7", "8"} << "n2 0 ";
        QTest::newRow("! cuts") << "x\r\n a b !c!d\r\n!\r\nq!\r\n" + items.mid(9) + tail
                                << QStringList{"a b", "", "q"} + numbers.mid(3) << "n2 0 ";
        QTest::newRow("TABs removed") << "x\r\n\t1\t2\t\t! l\r\n \t 3 \t \r\n" + items.mid(6) + tail
                                      << QStringList{"12", "3"} + numbers.mid(2) << "n2 0 ";
        QTest::newRow("short file") << QByteArray("x\r\n1\r\n2\r\n")
                                    << numbers.mid(0, 2) + QStringList(6, "-EOF-") << "-EOF- 0 ";
        QTest::newRow("lower-case y") << "x\r\n" + items + "n1\r\nn2\r\ny\r\n20\r\n" << numbers << "n2 0 ";
        QTest::newRow("Y") << "x\r\n" + items + "n1\r\nn2\r\nY \t\t! 22\r\n20 ! r\r\n"
                           << numbers << "n2 5 20";
        QTest::newRow("empty line 1") << "\r\n" + items + tail << numbers << "n2 0 ";
        QTest::newRow("lone CR and LF") << QByteArray("x\r1\n2\r\r3\n4\r5\r6\r7\r8\rn1\rn2")
                                        << QStringList{"1", "2", "", "3", "4", "5", "6", "7"} << "n1 0 ";
        QTest::newRow("no line end") << QByteArray("only one line") << QStringList(8, "-EOF-") << "-EOF- 0 ";
        QTest::newRow("code page bytes")
            << QByteArray("x\r\n\x80\xbb\x81\x99\r\n")
            << QStringList{QString::fromUtf8("€»\u0081™")} + QStringList(7, "-EOF-") << "-EOF- 0 ";
    }
    void readerRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, answers);
        QFETCH(QString, rest);
        ReadBack read(bytes);
        QCOMPARE(read.answers(), answers);
        QCOMPARE(QString("%1 %2 %3")
                     .arg(read.state.answers.Note2)
                     .arg(read.state.SolverCount)
                     .arg(read.state.answers.SolverVars.Remax),
                 rest);
    }

    void randomAnswerSetsSurviveWriteAndRead() {
        const QStringList boxes{"Alpha",       "Beta",          "Delta",     "A_Distance", "P_Distance",
                                "N2_Distance", "Base_Distance", "Q_Angle",   "Note1",      "Note2",
                                "Remax",       "Detail",        "DeltaSolv", "PreDamp",    "Damp"};
        WindowFixture f;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 25; ++round) {
            QStringList written;
            for (const QString& name : boxes) {
                const QString text = randomCodePageText(random);
                f.box(name)->setText(text);
                written << withoutBlanks(text);
            }
            ReadBack read(saveAs(f, QString("r%1.tolv").arg(round)));
            QCOMPARE((read.answers() + QStringList{read.state.answers.Note1, read.state.answers.Note2}),
                     written.mid(0, 10));
            const bool withSolver = !(written[10] + written[11] + written[12]).isEmpty();
            QCOMPARE(read.state.answers.SolverVars.Damp, withSolver ? written[14] : QString());
        }
    }

    void fuzzCorpusReadsWithoutHarm() {
        QDirIterator files(QStringLiteral(QT_TESTCASE_SOURCEDIR "/files/fuzz-corpus"), QDir::Files);
        int count = 0;
        for (; files.hasNext(); ++count) {
            ReadBack read(fileBytes(files.next()));
            const SolverVariables& solver = read.state.answers.SolverVars;
            // Every value obeys the reader's rules whatever the bytes were.
            for (const QString& value :
                 read.answers() + QStringList{read.state.answers.Note1, read.state.answers.Note2,
                                              solver.Remax, solver.Detail, solver.DeltaSolv, solver.PreDamp,
                                              solver.Damp})
                QVERIFY2(value == "-EOF-" ||
                             !(value.contains('\t') || value.contains('!') || value.startsWith("-999") ||
                               value.startsWith(' ') || value.endsWith(' ')),
                         qPrintable(files.filePath() + ": " + value));
        }
        QVERIFY(count >= 4);
    }
};

QTEST_MAIN(TestInputFile)
#include "tst_inputfile.moc"
