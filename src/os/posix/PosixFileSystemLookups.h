#pragma once

#include "core/services/FileSystemLookups.h"

class PosixFileSystemLookups : public FileSystemLookups {
public:
    Entry lookUp(const QString& path) override;
    void makeDirectory(const QString& path) override;
    void changeDirectory(const QString& path) override;
    QString currentDirectory() override;
    bool canWriteIn(const QString& directory) override;
};
