#pragma once

#include "ItemReader.h"
#include "core/ProgramState.h"

class ExistenceTests;
class FileChannel;
class MessageBoxes;

// FileReadMe: reads an input file into the answer record, telling the user when it is missing.
class InputFileReader {
public:
    InputFileReader(ProgramState& state, FileChannel& channel, ExistenceTests& exists,
                    MessageBoxes& messages);

    // The caller has opened Path/FileName on FileNum and closes it afterwards. False when the file was
    // missing and nothing was read.
    bool FileReadMe(const QString& FileName, const QString& Path);

private:
    ProgramState& state_;
    ItemReader items_;
    ExistenceTests& exists_;
    MessageBoxes& messages_;
};
