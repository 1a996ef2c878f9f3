#pragma once

#include "AnswerSet.h"

#include <QString>

#include <cstdint>

// The program's shared state, one per process, handed by reference to the modules that use it.
struct ProgramState {
    AnswerSet answers;
    bool DataChanged = false;

    QString FileName;
    QString FilePath;

    bool SaveFailed = false;
    std::int16_t FileNum = 0;
    std::int16_t SolverCount = 0;
    QString FullFileName;

    QString fileTemp;
    QString fileTempPath;
    QString RunMode = QStringLiteral(" ");
    QString DemoFile;

    QString UserPath;
    std::int16_t RunCount = 0;
    QString ParentPath;
};

// The literal FileName of data that have no file yet.
inline const QString NewDataName = QStringLiteral("New data");
