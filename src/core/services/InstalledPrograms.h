#pragma once

#include <QString>
#include <QStringList>

// The installation's own programs as this system names and starts them.
namespace InstalledPrograms {
// What a run starts: the run script with the input file's name, its directory and "exit" or "wait",
// as separate arguments, never as one line of user text.
struct RunCommand {
    QString program;
    QStringList arguments;
};
RunCommand runScript(const QString& programDirectory, const QString& fileName, const QString& userPath,
                     bool autoExit);
// File names in the parent of the program directory.
QString editorLauncher();
QString outputViewer();
// The short form of an existing path, empty when it does not exist.
QString shortPath(const QString& path);
} // namespace InstalledPrograms
