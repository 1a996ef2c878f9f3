#include "EditorLauncher.h"

#include "platform/Shell.h"

void EditorLauncher::openInEditor(const QString& file) {
    shell_.startDetached(state_.ParentPath + QStringLiteral("/MyEditor.sh"), {file}, QString());
}
