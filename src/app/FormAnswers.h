#pragma once

#include "FormDesign.h"

#include <QString>

class MessageBoxes;
class TabControl;
struct ProgramState;

// The window's side of the answer record: what its boxes hand to the record and take from it, which
// questions still lack an answer, when the solver boxes are on, and the run tab's settings.
class FormAnswers {
public:
    FormAnswers(ProgramState& state, MessageBoxes& messages, TabControl* tabs,
                const FormDesign::Widgets& form)
        : state_(state), messages_(messages), tabs_(tabs), form_(form) {}

    void PutAnswers();
    void GetAnswers();
    // Colours the questions without an answer; true when there are none.
    bool MarkMissingAnswers();
    // MarkMissingAnswers, and a message when some are missing.
    bool isCompleteTest();

    void SetSolverBoxesEnabled(bool enabled);
    void ClearSolverBoxes();
    void cmdDefaultSolverData_Click();
    void cmdEditSolverData_Click();

    QString questionCaption(int n) const;
    QString solverCaption(int i) const;
    QString pauseTimeText() const;
    void setPauseTimeText(const QString& text);
    bool autoExitChecked() const;
    void enableSubmitRun();

private:
    ProgramState& state_;
    MessageBoxes& messages_;
    TabControl* tabs_;
    FormDesign::Widgets form_;
};
