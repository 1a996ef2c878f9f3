#pragma once

#include "core/Failure.h"
#include "platform/PosixFileSystemLookups.h"

#include <QList>

// The real look-ups, except that scripted failures are raised first: by the next look-ups, or by the
// next directory creation.
class ScriptedLookups : public PosixFileSystemLookups {
public:
    Entry lookUp(const QString& path) override;
    void makeDirectory(const QString& path) override;

    QList<Failure> lookUpFailures;
    QList<Failure> makeDirectoryFailures;
    int lookUps = 0;
};
