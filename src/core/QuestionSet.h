#pragma once

#include "AnswerHints.h"
#include "AnswerSet.h"

#include <array>

// The fixed question set: captions, default texts, tab indexes and tooltips, as the window shows them.
// Captions are raw: "&&" shows as one "&".
struct QuestionRow {
    const char* box;
    const char* caption;
    const char* defaultText;
    int tabIndex;
    int valuesExpected; // blank-separated numbers
};

struct NoteRow {
    const char* box;
    const char* defaultText;
    const char* toolTip;
    int tabIndex;
};

struct SolverRow {
    const char* box;
    const char* caption;
    const char* defaultText;
    const char* editValue; // what "&Edit Defaults" puts in the box
    const char* toolTip;
    int tabIndex;
    AnswerHints::Range range;
};

inline constexpr std::array<QuestionRow, questionCount> questionSet{{
    {"Alpha", "1. »  Alpha angle ... All angles must be in degrees:?", "1", 2, 1},
    {"Beta", "2. »  3 Beta distance values? ", "1.5 1 .5", 3, 3},
    {"Delta", "3. »  4 Delta distance values?", ".5 1.8 1.5 .3", 4, 4},
    {"A_Distance", "4. »  4 'A' distance values?", "39 42 45 48", 5, 4},
    {"P_Distance", "5. »  Px, Py, && Pz distance values ... Point w.r.t. tool?", "1.3 1.3 1.3", 6, 3},
    {"N2_Distance", "6. »  N2 distance value ... desired N2 = sin( alpha + q2 + q3 + q4)?", ".8", 7, 1},
    {"Base_Distance", "7. »  BaseX, BaseY, && BaseZ distance values ... Point relative to base?", "70 2 1", 8,
     3},
    {"Q_Angle", "8. »  4 'Q' angle initial values?", "4 199 52 102.4", 9, 4},
}};

inline constexpr std::array<NoteRow, 2> noteSet{{
    {"Note1", "Keep notes for future runs", "Note1...Keep notes for future runs", 10},
    {"Note2", "Your notes go here", "Note2...Keep notes for future runs", 11},
}};

inline constexpr std::array<SolverRow, 5> solverSet{{
    {"Remax", "   20          1. »  REMAX: Maximum iterations.", "20", "20", "Remax", 15,
     AnswerHints::Range::WholeFromOne},
    {"Detail", "    0           2. »  DETAIL: Detailed report every Nth iteration.", "0", "0", "Detail", 28,
     AnswerHints::Range::WholeFromZero},
    {"DeltaSolv", "1.E-7         3. »  DELTA: Convergent tolerance for unknowns.", "1.E-7", "1.E-7", "Delta",
     29, AnswerHints::Range::AboveZero},
    {"PreDamp", "   .2           4. »  PREDAMP: Damping factor for 1st iteration;  0 < PREDAMP <= 1.", ".2",
     ".2", "PreDamp", 60, AnswerHints::Range::AboveZeroUpToOne},
    {"Damp", "   .2           5. »  DAMP: Criteria for imposing damping; 0 < DAMP <= 1.", ".2", ".2", "Damp",
     61, AnswerHints::Range::AboveZeroUpToOne},
}};
