#include "core/Failure.h"
#include "core/GuardedSteps.h"
#include "platform/CommandLine.h"
#include "platform/TextEncoding.h"

#include <QTest>

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void errorNumberFormatting_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("positive") << 53 << "Unexpected error # 53 occured: File not found";
        QTest::newRow("zero") << 0 << "Unexpected error # 0 occured: File not found";
        QTest::newRow("negative") << -5 << "Unexpected error #-5 occured: File not found";
        QTest::newRow("large") << 32755 << "Unexpected error # 32755 occured: File not found";
    }
    void errorNumberFormatting() {
        QFETCH(int, number);
        QFETCH(QString, text);
        QCOMPARE(unexpectedErrorText(Failure{number, QStringLiteral("File not found")}), text);
    }

    void stepsRunInOrderAndHandlerChoosesWhatFollows() {
        QStringList trace;
        int attempts = 0;
        const std::vector<Step> steps{
            [&] { trace << "a"; },
            [&] {
                trace << "b";
                if (++attempts < 3)
                    throw Failure{71, "not ready"};
            },
            [&] {
                trace << "c";
                throw Failure{68, "gone"};
            },
            [&] { trace << "d"; },
        };
        const StepOutcome outcome = runSteps(
            steps, [](const Failure& f) { return f.number == 71 ? StepOutcome::Retry : StepOutcome::Next; });
        QCOMPARE(outcome, StepOutcome::Next);
        QCOMPARE(trace, QStringList({"a", "b", "b", "b", "c", "d"}));
    }

    void stepsStopWhereTheHandlerEndsTheRoutine() {
        QStringList trace;
        const std::vector<Step> steps{[&] { throw Failure{53, "x"}; }, [&] { trace << "never"; }};
        QCOMPARE(runSteps(steps, [](const Failure&) { return StepOutcome::EndRoutine; }),
                 StepOutcome::EndRoutine);
        QVERIFY(trace.isEmpty());
    }

    void commandLineKeepsEachArgumentRecognisable() {
        QCOMPARE(commandLineText("/opt/q/MyEditor.sh", {"/home/a b/x.tolv"}),
                 QString("/opt/q/MyEditor.sh \"/home/a b/x.tolv\""));
        QCOMPARE(commandLineText("run", {"x", "", "say \"hi\""}), QString("run x \"\" \"say \\\"hi\\\"\""));
    }

    void codePageHoldsOnlyWindows1252() {
        QVERIFY(TextEncoding::fitsCodePage(QString::fromUtf8("1. »  Alpha € é ™")));
        QVERIFY(!TextEncoding::fitsCodePage(QString::fromUtf8("Ω")));
        QVERIFY(!TextEncoding::fitsCodePage(QString::fromUtf8("a😀")));
        QCOMPARE(TextEncoding::toCodePage(QString::fromUtf8("»€")), QByteArray("\xBB\x80"));
        QCOMPARE(TextEncoding::fromCodePage(QByteArray("\xBB\x99")), QString::fromUtf8("»™"));
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
