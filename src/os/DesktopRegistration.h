#pragma once

#include <QList>
#include <QString>

// Makes the desktop open the registered file types with the installation's handlers. On Linux: a
// shared-mime-info package, one desktop entry per handler and the default handlers in mimeapps.list,
// all per user under XDG_DATA_HOME and XDG_CONFIG_HOME, unless the installation's package brought its
// own entries and types (then only the user's defaults point at them); on Windows the classes in the
// registry are enough, and the shell is told they changed.
class DesktopRegistration {
public:
    struct FileType {
        QString extension;   // without its dot
        QString handlerPath; // the program that opens it
        QString description;
        int globWeight; // 50 is shared-mime-info's usual weight; lower yields to other types
    };

    static QString mimeTypeName(const QString& extension);
    static QString desktopFileName(const QString& handlerPath);
    // The text of an Exec key that runs the program with one file.
    static QString execLine(const QString& program);

    // The program's own desktop entry, with its icon, so that desktops list it among their programs.
    // Written before registerTypes, whose cache refresh then takes it in.
    bool registerProgram(const QString& program, const QString& icon);

    // Writes every file and starts the refresh of the desktop's caches where their tools exist. False
    // when a file could not be written.
    bool registerTypes(const QList<FileType>& types);

private:
    bool writeMimePackage(const QList<FileType>& types, const QString& dataHome);
    bool writeDesktopEntries(const QList<FileType>& types, const QString& dataHome);
    bool writeDefaults(const QList<FileType>& types, const QString& configHome);
    static void startIfPresent(const QString& tool, const QStringList& arguments);
};
