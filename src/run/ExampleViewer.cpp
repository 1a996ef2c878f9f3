#include "ExampleViewer.h"

#include "EditorLauncher.h"
#include "core/Failure.h"
#include "core/InstallPaths.h"
#include "files/CommonDialog.h"

void ExampleViewer::ViewExampleFile() {
    const QString remembered = dialog_.InitDir;
    try {
        dialog_.InitDir = InstallPaths::resolve(paths_.workDirectory(), QStringLiteral("demos"));
        dialog_.DialogTitle = QStringLiteral("Open an Example File for illustration");
        dialog_.Filter = QStringLiteral("All Files (*.*)|*.*|Example Input Files (ex*.*)|ex*.*");
        dialog_.FilterIndex = 2;
        if (dialog_.ShowOpen() && !dialog_.FileName.isEmpty() && editor_.openInEditor(dialog_.FileName))
            return;
    } catch (const Failure&) {
        // A cancel that the dialog raises ends the same way, without a word.
    }
    dialog_.InitDir = remembered;
}
