#pragma once

#include <QString>

// What the window hints at when an answer does not look like what its question asks for: how many
// blank-separated numbers, or a solver value's range. The answers are never changed nor refused: an
// empty text means the answer fits.
class AnswerHints {
public:
    // The ranges the solver variables state.
    enum class Range { WholeFromOne, WholeFromZero, AboveZero, AboveZeroUpToOne };

    // Fortran's forms count: "-3", ".5", "1.E-7", "2e3", "1.5D0".
    static bool isNumber(const QString& token);
    // For an answer that asks for expected numbers; an empty answer is the missing answer's business,
    // but one of blanks only gives no number either.
    static QString forAnswer(const QString& answer, int expected);
    // For a solver value; an empty one leaves the value to the solver.
    static QString forSolverValue(const QString& value, Range range);
};
