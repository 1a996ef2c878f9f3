#include "files/Blanks.h"
#include "files/FileChannel.h"
#include "files/ItemReader.h"
#include "platform/TextEncoding.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include "support/TestFiles.h"

namespace {
// Reads the bytes the way Open does: the name, the eight answers, the two notes, the solver count and
// the solver values.
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
    void writesTheDefaultAnswers_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("date");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("with solver") << english << QTime(15, 7) << "December 05, 2023 @ 3:07 PM";
        QTest::newRow("without solver, Japanese morning")
            << QLocale(QLocale::Japanese) << QTime(0, 9) << "December 05, 2023 @ 12:09 AM";
        QTest::newRow("German") << QLocale(QLocale::German) << QTime(0, 9) << "Dezember 05, 2023 @ 12:09 AM";
        QTest::newRow("Japanese, afternoon")
            << QLocale(QLocale::Japanese) << QTime(15, 7) << "December 05, 2023 @ 3:07 PM";
    }
    void writesTheDefaultAnswers() {
        QFETCH(QLocale, locale);
        QFETCH(QTime, time);
        QFETCH(QString, date);
        const bool withSolver = !QByteArray(QTest::currentDataTag()).startsWith("without solver");
        WindowFixture f(locale);
        f.now = QDateTime(QDate(2023, 12, 5), time);
        if (!withSolver)
            f.control<QPushButton>("cmdDefaultSolverData")->click();
        const QByteArray bytes = saveAs(f, "MyArm.tolv");
        const QByteArray golden = fileBytes(QT_TESTCASE_SOURCEDIR "/files/golden/default-" +
                                            QString(withSolver ? "with" : "without") + "-solver.tolv");
        const qsizetype dateAt = golden.indexOf("          ") + 10, headerEnd = bytes.indexOf('\r');
        QCOMPARE(bytes.left(dateAt), golden.left(dateAt));
        QCOMPARE(TextEncoding::fromCodePage(bytes.mid(dateAt, headerEnd - dateAt)), date);
        QCOMPARE(bytes.mid(headerEnd), golden.mid(golden.indexOf('\r')));
        QVERIFY(f.messages.log().isEmpty());
    }

    void writerRules_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("boxes"); // all given the text
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("start");
        const auto row = [](const char* name, const QString& fileName, const QString& boxes,
                            const QString& text, int line, const QByteArray& start) {
            QTest::newRow(name) << fileName << boxes << text << line << start;
        };
        row("empty value marked", "w", "Alpha", "   ", 1, "-999  \t\t! 1. ");
        row("value trimmed", "w", "Beta", "  7 8  ", 2, "7 8  \t\t! 2. ");
        row("long value never cut", "w", "Delta", QString(40000, '7'), 3,
            QByteArray(40000, '7') + "  \t\t! 3. ");
        row("line break in the name", "two\r\nlines.tolv", "", "", 0, "two  lines  \t\t!* ");
        row("every .tolv dropped, in any case; other extensions kept", "a.TOLV.tolv.txt", "", "", 0,
            "a.txt  \t\t!* ");
        // Pre-damping and damping alone make no solver section; blanks do.
        row("no remax, detail or delta", "w", "Remax Detail DeltaSolv", "", 11, "N\t\t!");
        row("blank remax, detail and delta", "w", "Remax Detail DeltaSolv", "   ", 12,
            "-999  \t\t! 20          1. \xbb  REMAX: Maxi\r");
    }
    void writerRules() {
        QFETCH(QString, fileName);
        QFETCH(QString, boxes);
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QByteArray, start);
        WindowFixture f;
        for (const QString& box : boxes.split(' ', Qt::SkipEmptyParts))
            f.box(box)->setText(text);
        const QByteArray bytes = saveAs(f, fileName);
        const QList<QByteArray> lines = bytes.split('\n');
        QVERIFY2(lines.value(line).startsWith(start), lines.value(line).left(80));
        // One line per item, so every item reads back in its place.
        QCOMPARE(bytes.count("\r\n"), 12 + f.state.SolverCount);
        QCOMPARE(readBack(bytes)[9], QString("Keep notes for future runs"));
    }

    void readerRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // name|8 answers|2 notes|solver count; none: only the rules
        const QByteArray items = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", tail = "n1\r\nn2\r\nN\r\n";
        const QString eof = "|-EOF-";
        QTest::newRow("-999 prefixes")
            << "x\r\n-999\r\n-9990  ! a\r\n-999.5\r\n -999x\r\n-99\r\n" + items.mid(15) + tail
            << "x|||||-99|6|7|8|n1|n2|0";
        QTest::newRow("! cuts") << "x\r\n a b !c!d\r\n!\r\nq!\r\n" + items.mid(9) + tail
                                << "x|a b||q|4|5|6|7|8|n1|n2|0";
        QTest::newRow("TABs removed")
            << "x\r\n\t1\t2\t\t! l\r\n \t 3 \t \r\n" + items.mid(6) + tail << "x|12|3|3|4|5|6|7|8|n1|n2|0";
        QTest::newRow("short file, no last line end")
            << QByteArray("x\r\n1\r\n2") << "x|1|2" + eof.repeated(8) + "|0";
        QTest::newRow("lower-case y") << "x\r\n" + items + "n1\r\nn2\r\ny\r\n20\r\n"
                                      << "x|1|2|3|4|5|6|7|8|n1|n2|0";
        QTest::newRow("lone CR and LF")
            << QByteArray("x\r1\n2\r\r3\n4\r5\r6\r7\r8\rn1\rn2") << "x|1|2||3|4|5|6|7|8|n1|0";
        QTest::newRow("code page bytes") << QByteArray("x\r\n\x80\xbb\x81\x99\r\n")
                                         << QString::fromUtf8("x|€»\u0081™") + eof.repeated(9) + "|0";
        // A name saved with its directory keeps only its last part.
        QTest::newRow("name with a directory")
            << "C:\\Work\\Arm  \t\t!* 8\r\n" + items + tail << "Arm|1|2|3|4|5|6|7|8|n1|n2|0";
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
                const QString text =
                    TextEncoding::fromCodePage(bytes.startsWith("-999") ? bytes.mid(1) : bytes);
                f.box(name)->setText(text);
                written << withoutBlanks(text);
            }
            const QStringList read = readBack(saveAs(f, written[0] + ".tolv"));
            const bool withSolver = !(written[11] + written[12] + written[13]).isEmpty();
            QCOMPARE(read, written.mid(0, 11) + QStringList{withSolver ? "5" : "0"} +
                               (withSolver ? written.mid(11) : QStringList(5, QString())));
        }
    }
};

QTEST_MAIN(TestInputFile)
#include "tst_inputfile.moc"
