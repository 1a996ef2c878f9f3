#include "core/services/InstalledPrograms.h"

#include <QFileInfo>

namespace InstalledPrograms {
RunCommand runScript(const QString& programDirectory, const QString& fileName, const QString& userPath,
                     bool autoExit) {
    return {QStringLiteral("/bin/sh"),
            {programDirectory + QStringLiteral("/run-TolW.sh"), fileName, userPath,
             autoExit ? QStringLiteral("exit") : QStringLiteral("wait")}};
}

QString editorLauncher() {
    return QStringLiteral("MyEditor.sh");
}

QString outputViewer() {
    return QStringLiteral("notePad2");
}

// A case-sensitive file system has no short names: lower-casing would name another file.
QString shortPath(const QString& path) {
    return QFileInfo::exists(path) ? path : QString();
}
} // namespace InstalledPrograms
