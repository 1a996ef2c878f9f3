#pragma once

#include "core/Failure.h"
#include "platform/PosixFileSystemLookups.h"

#include <QList>

// The real look-ups, except that scripted failures are raised first: by the look-ups after the first
// passingLookUps, or by the next directory creation.
class ScriptedLookups : public PosixFileSystemLookups {
public:
    Entry lookUp(const QString& path) override;
    void makeDirectory(const QString& path) override;

    QList<Failure> lookUpFailures;
    int passingLookUps = 0;
    QList<Failure> makeDirectoryFailures;
};
