#pragma once

#include "core/ProgramState.h"

class ExistenceTests;
class FileChannel;
class MessageBoxes;

// Reads an input file into the answer record, line by line and by position only.
class InputFileReader {
public:
    static const QString EndOfFile; // "-EOF-"

    InputFileReader(ProgramState& state, FileChannel& channel, ExistenceTests& exists,
                    MessageBoxes& messages);

    // The value of the next line of the open file, or "-EOF-" once nothing more can be read.
    QString ReadItem();
    // The caller has opened Path/FileName on FileNum and closes it afterwards.
    void FileReadMe(const QString& FileName, const QString& Path);
    // Reads the items of the open file into the record; no look-up, no messages.
    void readRecord();

private:
    ProgramState& state_;
    FileChannel& channel_;
    ExistenceTests& exists_;
    MessageBoxes& messages_;
};
