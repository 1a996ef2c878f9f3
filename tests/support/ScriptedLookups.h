#pragma once

#include "core/Failure.h"
#ifdef Q_OS_WIN
#include "os/win32/Win32FileSystemLookups.h"
using SystemFileSystemLookups = Win32FileSystemLookups;
#else
#include "os/posix/PosixFileSystemLookups.h"
using SystemFileSystemLookups = PosixFileSystemLookups;
#endif

#include <QFileInfo>
#include <QList>
#include <QStringList>

// The real look-ups, except that files named vanished are missing, and scripted failures are raised
// first: by the look-ups after the first passingLookUps, or by the next directory creation or change.
class ScriptedLookups : public SystemFileSystemLookups {
public:
    Entry lookUp(const QString& path) override {
        if (vanished.contains(QFileInfo(path).fileName()))
            return Entry::Missing;
        if (passingLookUps > 0)
            --passingLookUps;
        else if (!lookUpFailures.isEmpty())
            throw lookUpFailures.takeFirst();
        return SystemFileSystemLookups::lookUp(path);
    }
    void makeDirectory(const QString& path) override {
        if (!makeDirectoryFailures.isEmpty())
            throw makeDirectoryFailures.takeFirst();
        SystemFileSystemLookups::makeDirectory(path);
    }
    void changeDirectory(const QString& path) override {
        if (!changeDirectoryFailures.isEmpty())
            throw changeDirectoryFailures.takeFirst();
        SystemFileSystemLookups::changeDirectory(path);
    }

    QList<Failure> lookUpFailures;
    int passingLookUps = 0;
    QList<Failure> makeDirectoryFailures;
    QList<Failure> changeDirectoryFailures;
    QStringList vanished; // names of files removed since they were opened
};
