#include "EditorLauncher.h"

#include "platform/InstalledPrograms.h"
#include "platform/Shell.h"

bool EditorLauncher::openInEditor(const QString& file) {
    return shell_.startDetached(state_.ParentPath + QLatin1Char('/') + InstalledPrograms::editorLauncher(), {file},
                                QString());
}
