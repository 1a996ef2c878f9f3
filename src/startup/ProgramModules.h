#pragma once

#include "StartupCheck.h"
#include "core/InstallPaths.h"
#include "core/ProgramState.h"
#include "core/services/AppServices.h"
#include "files/ExistenceTests.h"
#include "files/FileChannel.h"
#include "files/FileCommands.h"
#include "files/InputFileReader.h"
#include "files/InputFileWriter.h"
#include "run/EditorLauncher.h"
#include "run/ExampleViewer.h"
#include "run/OutputViewer.h"
#include "run/RunSubmission.h"
#include "settings/FileAssociation.h"
#include "settings/ProgramEnd.h"
#include "settings/RegistryApi.h"
#include "settings/StoredValues.h"

#include <functional>

class Form;

// The program's modules, wired to one window and one set of platform services.
struct ProgramModules {
    ProgramModules(ProgramState& state, Form& form, const AppServices& services,
                   std::function<void()> unloadMainWindow);

    RegistryApi registry;
    InstallPaths paths;
    StoredValues stored;
    ProgramEnd end;
    ExistenceTests exists;
    StartupCheck startup;
    EditorLauncher editor;
    FileChannel channel;
    InputFileReader reader;
    InputFileWriter writer;
    FileCommands commands;
    FileAssociation association;
    OutputViewer output;
    RunSubmission run;
    ExampleViewer examples;
};
