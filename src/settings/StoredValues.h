#pragma once

#include "RegistryApi.h"
#include "core/Failure.h"
#include "core/ProgramState.h"

class InstallPaths;
class MessageBoxes;

// The values kept in the settings store between runs, and the routines that read and write them.
class StoredValues {
public:
    static const QString ProgramKey;
    // The program key without its last component: values shared with the maker's other programs.
    static QString MakerKey();

    StoredValues(ProgramState& state, RegistryApi& registry, MessageBoxes& messages,
                 const InstallPaths& paths);

    // The last input file's name; also sets UserPath and ParentPath.
    QString GetFileInRegistry();
    void PutFileInRegistry();
    // Raises what the store raises; callers handle it.
    void SaveRunCount();

private:
    void reportRegistryFailure(const QString& title, const QString& programName, const Failure& failure);

    ProgramState& state_;
    RegistryApi& registry_;
    MessageBoxes& messages_;
    const InstallPaths& paths_;
};
