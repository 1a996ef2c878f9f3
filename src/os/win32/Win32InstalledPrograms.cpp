#include "core/services/InstalledPrograms.h"

#include <QDir>

#include <windows.h>

namespace InstalledPrograms {
// The command interpreter runs the batch file, as the run is meant to be started.
RunCommand runScript(const QString& programDirectory, const QString& fileName, const QString& userPath,
                     bool autoExit) {
    return {QStringLiteral("cmd"),
            {QStringLiteral("/C"),
             QDir::toNativeSeparators(programDirectory + QStringLiteral("/run-TolW.bat")), fileName,
             QDir::toNativeSeparators(userPath), autoExit ? QStringLiteral("exit") : QStringLiteral("wait")}};
}

QString editorLauncher() {
    return QStringLiteral("MyEditor.bat");
}

QString outputViewer() {
    return QStringLiteral("notePad2.bat");
}

QString shortPath(const QString& path) {
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD size = GetShortPathNameW(native.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring shortName(size, L'\0');
    const DWORD written = GetShortPathNameW(native.c_str(), shortName.data(), size);
    if (written == 0 || written >= size)
        return {};
    shortName.resize(written);
    return QString::fromStdWString(shortName).toLower();
}
} // namespace InstalledPrograms
