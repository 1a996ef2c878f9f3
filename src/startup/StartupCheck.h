#pragma once

#include "core/ProgramState.h"

class ExistenceTests;
class FileSystemLookups;
class Form;
class InstallPaths;
class MessageBoxes;

// Start_INI: the start-up directory check.
class StartupCheck {
public:
    StartupCheck(ProgramState& state, Form& form, ExistenceTests& exists, FileSystemLookups& lookups,
                 MessageBoxes& messages, const InstallPaths& paths);

    void Start_INI();

private:
    ProgramState& state_;
    Form& form_;
    ExistenceTests& exists_;
    FileSystemLookups& lookups_;
    MessageBoxes& messages_;
    const InstallPaths& paths_;
};
