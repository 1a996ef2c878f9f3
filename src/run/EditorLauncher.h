#pragma once

#include "core/ProgramState.h"

class Shell;

// Shows a text file in the user's editor through the installation's MyEditor.sh.
class EditorLauncher {
public:
    EditorLauncher(ProgramState& state, Shell& shell) : state_(state), shell_(shell) {}

    // The file arrives as one argument, blanks and all. Nothing is waited for or reported; false when
    // the editor script could not be started.
    bool openInEditor(const QString& file);

private:
    ProgramState& state_;
    Shell& shell_;
};
