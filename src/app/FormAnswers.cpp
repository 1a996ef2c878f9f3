#include "FormAnswers.h"

#include "TabControl.h"
#include "app/layout/LayoutControl.h"
#include "app/layout/TwipGeometry.h"
#include "core/ProgramState.h"
#include "core/QuestionSet.h"
#include "core/services/MessageBoxes.h"

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void FormAnswers::PutAnswers() {
    AnswerSet& record = state_.answers;
    if (state_.RunMode != QLatin1String("Demo"))
        record.DataName = state_.FileName;
    for (int n = 0; n < questionCount; ++n)
        record.Answers[n] = form_.answerBoxes[n]->text();
    record.Note1 = form_.noteBoxes[0]->text();
    record.Note2 = form_.noteBoxes[1]->text();
    for (int i = 0; i < 5; ++i)
        record.SolverVars.*solverVariableOrder[i] = form_.solverBoxes[i]->text();
}

void FormAnswers::GetAnswers() {
    const AnswerSet& record = state_.answers;
    for (int n = 0; n < questionCount; ++n)
        form_.answerBoxes[n]->setText(record.Answers[n]);
    form_.noteBoxes[0]->setText(record.Note1);
    form_.noteBoxes[1]->setText(record.Note2);
    for (int i = 0; i < 5; ++i)
        form_.solverBoxes[i]->setText(record.SolverVars.*solverVariableOrder[i]);
    const QString steering =
        form_.solverBoxes[0]->text() + form_.solverBoxes[2]->text() + form_.solverBoxes[4]->text();
    SetSolverBoxesEnabled(!steering.isEmpty());
}

bool FormAnswers::MarkMissingAnswers() {
    PutAnswers();
    bool complete = true;
    for (int n = 0; n < questionCount; ++n) {
        const QString& answer = state_.answers.Answers[n];
        const bool missing = answer.isEmpty() || answer == QLatin1String("-Select-");
        FormDesign::setTextColour(form_.questionLabels[n],
                                  missing ? QColor(255, 0, 0) : FormDesign::normalLabelColour());
        complete = complete && !missing;
    }
    return complete;
}

bool FormAnswers::isCompleteTest() {
    if (MarkMissingAnswers())
        return true;
    messages_.show(QStringLiteral("Missing some data fields"),
                   QStringLiteral("Some fields are Blank, please fill them and submit again"),
                   MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    return false;
}

// Boxes of a hidden tab stay off whatever the answers say: only the shown tab's controls are on.
void FormAnswers::SetSolverBoxesEnabled(bool enabled) {
    for (QLineEdit* box : form_.solverBoxes)
        box->setEnabled(enabled && TwipGeometry::rect(box).left() >= hiddenLeftLimit);
}

void FormAnswers::ClearSolverBoxes() {
    for (QLineEdit* box : form_.solverBoxes)
        box->clear();
    SetSolverBoxesEnabled(false);
}

void FormAnswers::cmdDefaultSolverData_Click() {
    ClearSolverBoxes();
}

void FormAnswers::cmdEditSolverData_Click() {
    for (int i = 0; i < 5; ++i)
        form_.solverBoxes[i]->setText(QString::fromUtf8(solverSet[i].editValue));
    SetSolverBoxesEnabled(true);
}

QString FormAnswers::questionCaption(int n) const {
    return FormDesign::caption(form_.questionLabels[n - 1]);
}

QString FormAnswers::solverCaption(int i) const {
    return FormDesign::caption(form_.solverLabels[i - 1]);
}

QString FormAnswers::pauseTimeText() const {
    return form_.tPause->text();
}

void FormAnswers::setPauseTimeText(const QString& text) {
    form_.tPause->setText(text);
}

bool FormAnswers::autoExitChecked() const {
    return form_.AutoExit->isChecked();
}

// Off while its tab is hidden: showing the tab turns it on.
void FormAnswers::enableSubmitRun() {
    form_.cmdSubmit->setEnabled(tabs_->tabOf(form_.cmdSubmit) == tabs_->currentIndex());
}
