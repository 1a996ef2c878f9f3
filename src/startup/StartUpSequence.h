#pragma once

#include "core/GuardedSteps.h"
#include "core/ProgramState.h"
#include "core/services/AppServices.h"

#include <functional>

class Form;
struct ProgramModules;

// What loading the main window does before it is shown: the settings keys and values, the last input
// file, the directory check, in the first starts the file types, the introduction messages and, last,
// the capture of the layout that resizing keeps.
class StartUpSequence {
public:
    StartUpSequence(ProgramState& state, Form& form, ProgramModules& modules, const AppServices& services,
                    std::function<void()> captureLayout);

    void run();

private:
    void createKeys();
    void readStoredSettings();
    void findLastInputFile();
    void readLastInputFile();
    void showIntroduction(char which);
    void registerFileTypes();
    StepOutcome handleLoadFailure(const Failure& failure);

    ProgramState& state_;
    Form& form_;
    ProgramModules& modules_;
    const AppServices& services_;
    std::function<void()> captureLayout_;
    QString makerKey_;
    QString LoadPath_;
    bool lastFileRead_ = false;
};
