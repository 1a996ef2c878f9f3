#pragma once

#include "core/Failure.h"
#include "core/ProgramState.h"

class ExistenceTests;
class FileCommands;
class FileSystemLookups;
class Form;
class InstallPaths;
class MessageBoxes;
class OutputViewer;
class RegistryApi;
class Shell;
class StoredValues;

// Hands a saved input file, or a demo, to the installation's run script and waits for its end.
class RunSubmission {
public:
    struct Modules {
        RegistryApi& registry;
        StoredValues& stored;
        ExistenceTests& exists;
        FileSystemLookups& lookups;
        FileCommands& commands;
        OutputViewer& output;
        MessageBoxes& messages;
        Shell& shell;
        const InstallPaths& paths;
    };

    RunSubmission(ProgramState& state, Form& form, Modules modules);

    // "Submit Run": the pause time is stored before anything else, even when the run is abandoned.
    void submit();
    // "Run Demo": DemoFile, or the current file's path when no demo was chosen.
    void runDemo();
    void FileRun2();
    void StartRun();
    void exitWin();

private:
    bool saveBeforeRun();
    bool currentFileExists();
    void runDemoFile();
    void runScript();
    void reportFailure(const QString& routine, const Failure& failure);

    ProgramState& state_;
    Form& form_;
    Modules modules_;
};
