#pragma once

#include <QString>

class FileSystemLookups;
class InstallPaths;

// A program directory the user cannot write (a package's, a read-only share, "Program Files") leaves
// everything the program and the run script write to a per-user work area: the examples, copied there
// read-only as shipped, their output and User. The run script and the terminal commands follow the
// same rule.
class WorkArea {
public:
    WorkArea(InstallPaths& paths, FileSystemLookups& lookups) : paths_(paths), lookups_(lookups) {}

    // $XDG_DATA_HOME/Quenwick/Tolvik, or %LOCALAPPDATA%\Quenwick\Tolvik.
    static QString perUserDirectory();

    // Chooses the work directory and, when it is the per-user one, makes it with the examples that are
    // not there yet. Raises a numbered Failure when that cannot be done.
    void settle();

private:
    void copyMissingExamples(const QString& from, const QString& to);

    InstallPaths& paths_;
    FileSystemLookups& lookups_;
};
