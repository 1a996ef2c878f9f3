#pragma once

class CommonDialog;
class EditorLauncher;
class InstallPaths;

// Opens an example input file of the installation in the user's editor, chosen in the window's file
// dialog.
class ExampleViewer {
public:
    ExampleViewer(CommonDialog& dialog, EditorLauncher& editor, const InstallPaths& paths)
        : dialog_(dialog), editor_(editor), paths_(paths) {}

    // A cancel, or an editor that does not start, leaves the dialog's initial directory as it was.
    void ViewExampleFile();

private:
    CommonDialog& dialog_;
    EditorLauncher& editor_;
    const InstallPaths& paths_;
};
