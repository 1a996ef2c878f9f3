#include "EditorLauncher.h"

#include "platform/Shell.h"

bool EditorLauncher::openInEditor(const QString& file) {
    return shell_.startDetached(state_.ParentPath + QStringLiteral("/MyEditor.sh"), {file}, QString());
}
