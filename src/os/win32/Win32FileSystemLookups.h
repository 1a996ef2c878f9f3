#pragma once

#include "core/services/FileSystemLookups.h"

// Look-ups through the Windows file system: a hidden or system file is no file, as the program's
// look-up with normal attributes finds none.
class Win32FileSystemLookups : public FileSystemLookups {
public:
    Entry lookUp(const QString& path) override;
    void makeDirectory(const QString& path) override;
    void changeDirectory(const QString& path) override;
    QString currentDirectory() override;
    bool canWriteIn(const QString& directory) override;
};
