#pragma once

#include "AppServices.h"
#include "core/GuardedSteps.h"
#include "core/ProgramState.h"

class Form;
struct ProgramModules;

// What loading the main window does before it is shown: the settings keys and values, the last input
// file, the directory check and, in the first starts, the file types.
class StartUpSequence {
public:
    StartUpSequence(ProgramState& state, Form& form, ProgramModules& modules, const AppServices& services);

    void run();

private:
    void readStoredSettings();
    void findLastInputFile();
    void readLastInputFile();
    void registerFileTypes();
    StepOutcome handleLoadFailure(const Failure& failure);

    ProgramState& state_;
    Form& form_;
    ProgramModules& modules_;
    const AppServices& services_;
    QString makerKey_;
    QString LoadPath_;
};
