#pragma once

#include <QString>

// Look-ups of names on disk. A missing name is an answer; any other system error is raised as a
// numbered Failure (for example 71 when there is no medium, 68 when the device is unavailable).
class FileSystemLookups {
public:
    enum class Entry { Missing, File, HiddenFile, Directory, Other };

    virtual ~FileSystemLookups() = default;
    virtual Entry lookUp(const QString& path) = 0;
    virtual void makeDirectory(const QString& path) = 0;
    virtual void changeDirectory(const QString& path) = 0;
    virtual QString currentDirectory() = 0;
    // Whether this user may make files in the directory (false for a read-only or missing one).
    virtual bool canWriteIn(const QString& directory) = 0;
};
