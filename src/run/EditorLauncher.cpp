#include "EditorLauncher.h"

#include "core/services/InstalledPrograms.h"
#include "core/services/Shell.h"

bool EditorLauncher::openInEditor(const QString& file) {
    return shell_.startDetached(state_.ParentPath + QLatin1Char('/') + InstalledPrograms::editorLauncher(),
                                {file}, QString());
}
