#pragma once

#include "core/ProgramState.h"

class FileChannel;

// Reads the items of the open input file by position: the value of each line, labels skipped.
class ItemReader {
public:
    static const QString EndOfFile; // "-EOF-"

    ItemReader(ProgramState& state, FileChannel& channel) : state_(state), channel_(channel) {}

    // The value of the next line, or "-EOF-" once nothing more can be read (the file is then closed).
    QString ReadItem();
    // Reads the record's items from the open file; lines after the last expected one are not read.
    void readRecord();

private:
    ProgramState& state_;
    FileChannel& channel_;
};
