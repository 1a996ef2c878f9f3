#include "core/Failure.h"
#include "core/GuardedSteps.h"
#include "platform/CommandLine.h"

#include <QTest>

class TestCore : public QObject {
    Q_OBJECT
private slots:
    // A positive number gets a blank after the hash (the settings tests show it); a negative one not.
    void negativeErrorNumbersFollowTheHash() {
        QCOMPARE(unexpectedErrorText(Failure{-5, "File not found"}),
                 QString("Unexpected error #-5 occured: File not found"));
    }

    // The handler retries, skips to the next step, or ends the routine where it failed.
    void guardedStepsFollowTheHandler() {
        QString trace;
        // Each step leaves its letter; given a number, it fails until its third try.
        const auto step = [&trace](char letter, int number = 0) -> Step {
            return [&trace, letter, number] {
                trace += QLatin1Char(letter);
                if (number && trace.count(QLatin1Char(letter)) < 3)
                    throw Failure{number, "x"};
            };
        };
        const FailureHandler handler = [](const Failure& f) {
            return f.number == 71   ? StepOutcome::Retry
                   : f.number == 68 ? StepOutcome::Next
                                    : StepOutcome::EndRoutine;
        };
        QCOMPARE(runSteps({step('a'), step('b', 71), step('c', 68), step('d', 57), step('e')}, handler),
                 StepOutcome::EndRoutine);
        QCOMPARE(runSteps({step('f')}, handler), StepOutcome::Next);
        QCOMPARE(trace, QString("abbbcdf"));
    }

    void commandLineKeepsEachArgumentRecognisable() {
        QCOMPARE(commandLineText("run", {"x", "", "say \"hi\""}), QString("run x \"\" \"say \\\"hi\\\"\""));
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
