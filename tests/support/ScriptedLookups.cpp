#include "ScriptedLookups.h"

FileSystemLookups::Entry ScriptedLookups::lookUp(const QString& path) {
    if (passingLookUps > 0)
        --passingLookUps;
    else if (!lookUpFailures.isEmpty())
        throw lookUpFailures.takeFirst();
    return PosixFileSystemLookups::lookUp(path);
}

void ScriptedLookups::makeDirectory(const QString& path) {
    if (!makeDirectoryFailures.isEmpty())
        throw makeDirectoryFailures.takeFirst();
    PosixFileSystemLookups::makeDirectory(path);
}
