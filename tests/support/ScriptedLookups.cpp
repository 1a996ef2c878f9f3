#include "ScriptedLookups.h"

FileSystemLookups::Entry ScriptedLookups::lookUp(const QString& path) {
    if (passingLookUps > 0)
        --passingLookUps;
    else if (!lookUpFailures.isEmpty())
        throw lookUpFailures.takeFirst();
    return SystemFileSystemLookups::lookUp(path);
}

void ScriptedLookups::makeDirectory(const QString& path) {
    if (!makeDirectoryFailures.isEmpty())
        throw makeDirectoryFailures.takeFirst();
    SystemFileSystemLookups::makeDirectory(path);
}
