#pragma once

#include "core/services/SettingsStore.h"

#include <QString>

// Registers a file extension's class entries: which handler opens it, with what description.
class FileAssociation {
public:
    explicit FileAssociation(SettingsStore& store) : store_(store) {}

    // ProgramDir gains a trailing separator in place when it lacks one.
    void RegisterFileType(const QString& Ext, QString& ProgramDir, const QString& HandlerName,
                          const QString& Description, const QString& IconPath);
    // 0 on success, otherwise a non-zero status; nothing is reported.
    int SetClassKeyValue(SettingsStore::Root Root, const QString& SubKey, const QString& ValueName,
                         const QString& Data);

private:
    SettingsStore& store_;
};
