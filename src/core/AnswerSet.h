#pragma once

#include <QString>

#include <array>

struct SolverVariables {
    QString Remax;
    QString Detail;
    QString DeltaSolv;
    QString PreDamp;
    QString Damp;
};

// The order in which the solver variables are shown, written and read.
inline constexpr std::array<QString SolverVariables::*, 5> solverVariableOrder{
    &SolverVariables::Remax, &SolverVariables::Detail, &SolverVariables::DeltaSolv, &SolverVariables::PreDamp,
    &SolverVariables::Damp};

inline constexpr int questionCount = 8;

// The one answer record: every answer is kept as the text typed.
struct AnswerSet {
    std::array<QString, questionCount> Answers; // question n is Answers[n - 1]
    QString Note1;
    QString Note2;
    SolverVariables SolverVars;
    QString DataName;
};
