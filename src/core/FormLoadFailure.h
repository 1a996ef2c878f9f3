#pragma once

#include "GuardedSteps.h"

#include <QString>

class MessageBoxes;
struct ProgramState;

// Where a form's load routine tells a failed step: the title of the report of an unexpected failure
// and the name the report gives the input file's directory.
struct FormLoadSite {
    MessageBoxes& messages;
    const ProgramState& state;
    QString programDirectory;
    QString reportTitle;
    QString directoryLabel;
};

// A drive or path that does not exist is tried again until the user cancels (EndRoutine); a
// cancelled dialog ends the routine quietly; anything else is reported with the state of the files,
// and the routine goes on with its next step (Next).
StepOutcome handleFormLoadFailure(const FormLoadSite& site, const Failure& failure);
