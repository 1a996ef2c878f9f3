#include "core/Failure.h"
#include "core/GuardedSteps.h"
#include "platform/CommandLine.h"
#include "platform/TextEncoding.h"

#include <QTest>

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void formatErrorNumberKeepsHashAndDigitsApart() {
        QCOMPARE(formatErrorNumber(53), QString(" 53"));
        QCOMPARE(formatErrorNumber(-5), QString("-5"));
        QCOMPARE(unexpectedErrorText(Failure{-5, "File not found"}),
                 QString("Unexpected error #-5 occured: File not found"));
    }

    // The handler retries, skips to the next step, or ends the routine where it failed.
    void guardedStepsFollowTheHandler() {
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
        const FailureHandler retryWhenNotReady = [](const Failure& f) {
            return f.number == 71 ? StepOutcome::Retry : StepOutcome::Next;
        };
        QCOMPARE(runSteps(steps, retryWhenNotReady), StepOutcome::Next);
        QCOMPARE(trace, QStringList({"a", "b", "b", "b", "c", "d"}));
        trace.clear();
        attempts = 0;
        QCOMPARE(runSteps(steps, [](const Failure&) { return StepOutcome::EndRoutine; }),
                 StepOutcome::EndRoutine);
        QCOMPARE(trace, QStringList({"a", "b"}));
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
