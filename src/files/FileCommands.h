#pragma once

#include "core/GuardedSteps.h"
#include "core/ProgramState.h"

class ExistenceTests;
class FileChannel;
class FileSystemLookups;
class Form;
class InputFileReader;
class InputFileWriter;
class MessageBoxes;
class ProgramEnd;

// New, Open, Save, Save As and Delete, the data-changed prompt, and the current file's name and directory.
class FileCommands {
public:
    struct Modules {
        ExistenceTests& exists;
        ProgramEnd& end;
        InputFileWriter& writer;
        InputFileReader& reader;
        FileChannel& channel;
        FileSystemLookups& lookups;
    };

    FileCommands(ProgramState& state, Form& form, MessageBoxes& messages, Modules modules);

    void FileNew();
    void FileOld();
    void FileSave();
    // True when the data were written without failure.
    bool FileSaveAs();
    void FileDelete();
    // True when the calling command must stop.
    bool AskSaveChanges(bool& Changed);
    void SetInputFile(const QString& Path);
    // The file-name part of Path; its directory part goes to Dir.
    QString SplitPath(const QString& Path, QString& Dir);

private:
    struct CurrentFile {
        QString FileName;
        QString FilePath;
        QString fileTempPath;
    };

    // What an unexpected failure ends after its message: a save never ends the program.
    enum class Unexpected { EndsProgram, EndsCommand };
    static QString titleOf(const QString& routine);
    void reportFailure(const QString& routine, const Failure& failure);
    StepOutcome handleFailure(const QString& routine, const QString& name, const Failure& failure,
                              Unexpected unexpected);
    void keepUnsaved(const CurrentFile& before);

    ProgramState& state_;
    Form& form_;
    MessageBoxes& messages_;
    Modules modules_;
};
