#include "core/TextEncoding.h"
#include "files/Blanks.h"
#include "files/FileChannel.h"
#include "files/ItemReader.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QtTest>
#include <QtWidgets>

#include <numeric>

namespace {
// Reads the bytes the way Open does: name, answers, notes, solver count and solver values.
QStringList readBack(const QByteArray& bytes) {
    ProgramState state;
    FileChannel channel;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    state.FileNum = channel.FreeFile();
    channel.openDevice(state.FileNum, std::move(buffer));
    ItemReader(state, channel).readRecord();
    const AnswerSet& a = state.answers;
    const SolverVariables& s = a.SolverVars;
    return QStringList{a.DataName} + QStringList(a.Answers.begin(), a.Answers.end()) +
           QStringList{a.Note1, a.Note2, QString::number(state.SolverCount)} +
           QStringList{s.Remax, s.Detail, s.DeltaSolv, s.PreDamp, s.Damp};
}

// A name may hold a line break where the file system allows it.
#ifdef Q_OS_WIN
const QString lineBrokenName = QStringLiteral("two  lines.TOLV.tolv.txt");
#else
const QString lineBrokenName = QStringLiteral("two\r\nlines.TOLV.tolv.txt");
#endif

QByteArray saveAs(WindowFixture& f, const QString& name) {
    f.fileDialogs.choosePath(f.programDirectory() + "/" + name);
    f.control<QAction>("mnuFileSaveAs")->trigger();
    return fileBytes(f.programDirectory() + "/" + name);
}
} // namespace

class TestInputFile : public QObject {
    Q_OBJECT
private slots:
    // Byte for byte as the golden files, with a header date in the locale where the code page holds it.
    void writesTheDefaultAnswers() {
        for (const auto& [solver, locale, time, date] :
             {std::tuple{"with", QLocale::Japanese, QTime(15, 7), QString("December 05, 2023 @ 3:07 PM")},
              {"without", QLocale::Japanese, QTime(0, 9), QString("December 05, 2023 @ 12:09 AM")},
              {"with", QLocale::Spanish, QTime(15, 7),
               QString::fromUtf8("diciembre 05, 2023 @ 3:07 p.\u00a0m")}}) {
            WindowFixture f{QLocale(locale)};
            f.now = QDateTime(QDate(2023, 12, 5), time);
            if (solver == QString("without"))
                f.press("cmdDefaultSolverData");
            const QByteArray golden =
                fileBytes(QT_TESTCASE_SOURCEDIR "/files/golden/default-" + QString(solver) + "-solver.tolv");
            const qsizetype dateAt = golden.indexOf("          ") + 10;
            QCOMPARE(saveAs(f, "MyArm.tolv").split('\n'),
                     (golden.left(dateAt) + TextEncoding::toCodePage(date) + golden.mid(golden.indexOf('\r')))
                         .split('\n'));
        }
    }

    // Items are trimmed, never cut and never broken: one line each, so that every item reads back in place.
    void writerRules() {
        const QByteArray sevens(40000, '7');
        WindowFixture f;
        f.box("Delta")->setText("  7 " + QString::fromLatin1(sevens) + "  ");
        // Pre-damping and damping alone make no solver section; blank remax, detail and delta do.
        for (const QByteArray& end :
             {QByteArray("N\t\t"), QByteArray("Y\t\t-999  \t\t! 20          1. \xbb  REMAX: Maxi\r")}) {
            for (const char* box : {"Remax", "Detail", "DeltaSolv"})
                f.box(box)->setText(end.startsWith('N') ? "" : "   ");
            const QByteArray bytes = saveAs(f, lineBrokenName); // .tolv dropped in any case
            const QByteArrayList lines = bytes.split('\n');
            QVERIFY(lines[3].startsWith("7 " + sevens + "  \t\t! 3. "));
            QCOMPARE(lines[0].left(21) + "|" + lines[11].left(3) + lines.value(12).left(40),
                     "two  lines.txt  \t\t!* |" + end);
            QCOMPARE(readBack(bytes)[9], QString("Keep notes for future runs"));
        }
    }

    void readerRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // name|8 answers|2 notes|solver count; none: only the rules
        const QByteArray items = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", tail = "n1\r\nn2\r\ny\r\n20\r\n";
        QTest::newRow("-999 prefixes, a lower-case y starts no solver section")
            << "x\r\n-999\r\n-9990  ! a\r\n-999.5\r\n -999x\r\n-99\r\n" + items.mid(15) + tail
            << "x|||||-99|6|7|8|n1|n2|0";
        QTest::newRow("! cuts, TABs removed")
            << "x\r\n a b !c!d\r\n!\r\nq!\r\n\t1\t2\t\t! l\r\n \t 3 \t \r\n" + items.mid(15) + tail
            << "x|a b||q|12|3|6|7|8|n1|n2|0";
        QTest::newRow("code page bytes, short file, no last line end")
            << QByteArray("x\r\n\x80\xbb\x81\x99\r\n2")
            << QString::fromUtf8("x|€»\u0081™|2") + QString("|-EOF-").repeated(8) + "|0";
        QTest::newRow("lone CR and LF")
            << QByteArray("x\r1\n2\r\r3\n4\r5\r6\r7\r8\rn1\rn2") << "x|1|2||3|4|5|6|7|8|n1|0";
        const QDir corpus(QT_TESTCASE_SOURCEDIR "/files/fuzz-corpus");
        for (const QString& name : corpus.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << fileBytes(corpus.filePath(name)) << QString();
        QVERIFY(corpus.entryList(QDir::Files).size() >= 4);
    }
    void readerRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        const QStringList items = readBack(bytes);
        if (!read.isEmpty())
            QCOMPARE(items.mid(0, 12).join('|'), read);
        // Whatever the bytes were, no value keeps a TAB, a '!', a -999 or an outer blank.
        static const QRegularExpression broken("\\t|!|^-999|^ | $");
        for (const QString& value : items.mid(1, 10) + items.mid(12))
            QVERIFY2(value == "-EOF-" || !broken.match(value).hasMatch(), qPrintable(value));
    }

    void theShippedExamplesAreComplete() {
        for (const QString name : {"ExNASA.Tod", "ExNASA.1", "ExNASA.2", "ExAlpha.1"}) {
            const QStringList items =
                readBack(fileBytes(QT_TESTCASE_SOURCEDIR "/../install/demos/" + name + ".Tolv"));
            QCOMPARE(items[0] + " with solver count " + items[11], name + " with solver count 5");
            QVERIFY2(!items.mid(1, 8).contains("") && !items.contains(ItemReader::EndOfFile),
                     qPrintable(name));
        }
    }

    // Every byte means what the code page says it means, by the system's own converter where it has one.
    void theCodePageAgreesWithTheSystems() {
        QStringDecoder system("windows-1252");
        if (!system.isValid())
            QSKIP("this Qt converts no Windows-1252 of its own");
        QByteArray all(256, '\0');
        std::iota(all.begin(), all.end(), 0);
        const QString text = system.decode(all);
        QCOMPARE(TextEncoding::fromCodePage(all), text);
        QCOMPARE(TextEncoding::toCodePage(text), all);
    }

    void randomAnswerSetsSurviveWriteAndRead() {
        const QStringList boxes = QString("Alpha Beta Delta A_Distance P_Distance N2_Distance Base_Distance "
                                          "Q_Angle Note1 Note2 Remax Detail DeltaSolv PreDamp Damp")
                                      .split(' ');
        WindowFixture f;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 25; ++round) {
            QStringList written{QString("r%1").arg(round)};
            for (const QString& name : boxes) {
                // Code page text without '!' and the bytes the code page leaves undefined.
                QByteArray bytes;
                for (int length = random.bounded(0, 40); bytes.size() < length;)
                    if (const char b = char(random.bounded(0x20, 0x100));
                        !QByteArray("!\x7f\x81\x8d\x8f\x90\x9d").contains(b))
                        bytes += b;
                f.box(name)->setText(
                    TextEncoding::fromCodePage(bytes.startsWith("-999") ? bytes.mid(1) : bytes));
                written << withoutBlanks(f.box(name)->text());
            }
            const bool withSolver = !(written[11] + written[12] + written[13]).isEmpty();
            QCOMPARE(readBack(saveAs(f, written[0] + ".tolv")),
                     written.mid(0, 11) + QStringList{withSolver ? "5" : "0"} +
                         (withSolver ? written.mid(11) : QStringList(5, QString())));
        }
    }
};

QTEST_MAIN(TestInputFile)
#include "tst_inputfile.moc"
