#pragma once

#include "core/ProgramState.h"

class ExistenceTests;
class FileSystemLookups;
class MessageBoxes;
class RegistryApi;
class Shell;

// The plot file name left for the maker's other programs before every run, and the last solver output
// shown in the installation's editor.
class OutputViewer {
public:
    struct Modules {
        RegistryApi& registry;
        ExistenceTests& exists;
        FileSystemLookups& lookups;
        MessageBoxes& messages;
        Shell& shell;
    };

    OutputViewer(ProgramState& state, Modules modules);

    void SetPlotFile(const QString& name);
    void SavePlotSettings(const QString& plotFile);
    void ViewLastOutput(const QString& name);
    // The existing path unchanged: a case-sensitive file system has no other short form of it. Empty
    // when nothing is there.
    static QString ShortPath(const QString& path);

private:
    ProgramState& state_;
    Modules modules_;
};
