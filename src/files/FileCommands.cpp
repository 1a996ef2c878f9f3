#include "FileCommands.h"

#include "CommonDialog.h"
#include "ExistenceTests.h"
#include "FileChannel.h"
#include "InputFileReader.h"
#include "InputFileWriter.h"
#include "core/CommandAbandoned.h"
#include "core/DiskErrorPrompt.h"
#include "core/InstallPaths.h"
#include "core/services/FileSystemLookups.h"
#include "core/services/Form.h"
#include "core/services/MessageBoxes.h"
#include "os/ReadOnlyAttribute.h"
#include "settings/ProgramEnd.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {
using Box = MessageBoxes;
}

FileCommands::FileCommands(ProgramState& state, Form& form, MessageBoxes& messages, Modules modules)
    : state_(state), form_(form), messages_(messages), modules_(modules) {}

QString FileCommands::titleOf(const QString& routine) {
    return QStringLiteral("In '") + routine + QStringLiteral("' routine ...");
}

void FileCommands::reportFailure(const QString& routine, const Failure& failure) {
    messages_.show(titleOf(routine), unexpectedErrorText(failure), Box::Icon::Critical, Box::Buttons::Ok);
}

StepOutcome FileCommands::handleFailure(const QString& routine, const QString& name, const Failure& failure,
                                        Unexpected unexpected) {
    if (const std::optional<bool> retry =
            askRetryAfterDiskError(messages_, titleOf(routine), failure, name)) {
        if (*retry)
            return StepOutcome::Retry;
        // A disk not ready skips the step; a drive that is gone ends the command.
        return failure.number == FailureNumber::DiskNotReady ? StepOutcome::Next : StepOutcome::EndRoutine;
    }
    if (failure.number == FailureNumber::DialogCancelled)
        return StepOutcome::EndRoutine;
    reportFailure(routine, failure);
    // Ending the program would lose the answers that could not be saved.
    if (unexpected == Unexpected::EndsCommand)
        return StepOutcome::EndRoutine;
    modules_.end.EndProgram();
}

bool FileCommands::AskSaveChanges(bool& Changed) {
    form_.PutAnswers();
    if (!Changed)
        return false;
    switch (messages_.show(QStringLiteral("Data in form has changed!"), QStringLiteral("Save current data?"),
                           Box::Icon::Question, Box::Buttons::YesNoCancel)) {
    case Box::Answer::Yes:
        return !FileSaveAs();
    case Box::Answer::No:
        Changed = false;
        return false;
    default:
        return true;
    }
}

void FileCommands::FileNew() {
    if (state_.FileName != NewDataName && AskSaveChanges(state_.DataChanged))
        return;
    if (messages_.show(QStringLiteral("Confirm 'New' Response."), QStringLiteral("Okay to Clear responses?"),
                       Box::Icon::Question, Box::Buttons::OkCancel) != Box::Answer::Ok)
        return;
    state_.answers = AnswerSet{};
    state_.SolverCount = 0;
    state_.answers.DataName = NewDataName;
    state_.FileName = NewDataName;
    state_.FilePath = modules_.lookups.currentDirectory();
    form_.GetAnswers();
    form_.ShowFilename();
}

void FileCommands::FileOld() {
    if (state_.FileName != NewDataName && AskSaveChanges(state_.DataChanged))
        return;
    CommonDialog& dialog = form_.fileDialog();
    bool answersRead = false;
    const std::vector<Step> steps{
        [&] {
            dialog.CancelError = true;
            dialog.DialogTitle = QStringLiteral("Select Response (Input) File to Open");
            dialog.Filter =
                QStringLiteral("All Files (*.*)|*.*|Input Files (*.Tolv)|*.Tolv|Example Input Files "
                               "(Ex*.Tolv)|Ex*.Tolv");
            dialog.FilterIndex = 2;
            dialog.FileName = QStringLiteral("*.Tolv");
        },
        [&] {
            dialog.ShowOpen();
            state_.FileName = dialog.FileName;
            SetInputFile(state_.FileName);
        },
        [&] { dialog.InitDir = state_.FilePath; },
        [&] {
            state_.FileNum = modules_.channel.FreeFile();
            state_.FullFileName = state_.FilePath + QLatin1Char('/') + state_.FileName;
            modules_.channel.openForInput(state_.FileNum, state_.FullFileName);
        },
        [&] {
            answersRead = modules_.reader.FileReadMe(state_.FileName, state_.FilePath);
            modules_.channel.close(state_.FileNum);
        },
        [&] {
            if (!answersRead)
                return;
            form_.GetAnswers();
            state_.DataChanged = false;
            form_.ShowFilename();
        },
    };
    const CurrentFile before{state_.FileName, state_.FilePath, state_.fileTempPath};
    // Nothing read, for a missing file or a step that ended the command: the answers keep the name they
    // had, so that a Save cannot write them over the file that was to be opened.
    try {
        runSteps(steps, [this](const Failure& f) {
            return handleFailure(QStringLiteral("FileOld"), state_.FileName, f, Unexpected::EndsProgram);
        });
    } catch (const CommandAbandoned&) {
        modules_.channel.close(state_.FileNum);
        keepUnsaved(before);
        throw;
    }
    if (!answersRead) {
        modules_.channel.close(state_.FileNum);
        keepUnsaved(before);
    }
}

void FileCommands::FileSave() {
    state_.SaveFailed = false;
    // The file it writes, in its own directory: the current directory may be any other.
    if (state_.FileName == QLatin1String("*.*") ||
        !modules_.exists.FileExists(QDir(state_.FilePath).filePath(state_.FileName))) {
        FileSaveAs();
        return;
    }
    form_.PutAnswers();
    state_.fileTemp = state_.FileName;
    try {
        modules_.writer.WriteAnsFile(state_.FileName, state_.FilePath);
    } catch (const Failure& failure) {
        // Reported like Save As reports it; the program goes on, so the form's data stay.
        reportFailure(QStringLiteral("FileSave"), failure);
    }
    // Data that were not written stay unsaved, so that New or Open still asks before replacing them.
    if (!state_.SaveFailed)
        state_.DataChanged = false;
}

bool FileCommands::FileSaveAs() {
    state_.SaveFailed = false;
    bool result = false;
    bool chosen = false;
    const CurrentFile before{state_.FileName, state_.FilePath, state_.fileTempPath};
    CommonDialog& dialog = form_.fileDialog();
    const std::vector<Step> steps{
        [&] {
            dialog.DialogTitle = QStringLiteral("Save Input File As ...");
            dialog.InitDir = state_.FilePath;
            dialog.Filter = QStringLiteral("All Files (*.*)|*.*|Tolvik Files (*.Tolv)|*.Tolv");
        },
        [&] {
            state_.FileName.remove(
                QRegularExpression(QStringLiteral("\\.tolv"), QRegularExpression::CaseInsensitiveOption));
            dialog.FileName = state_.FileName + QStringLiteral(".Tolv");
            chosen = dialog.ShowSave();
        },
        [&] {
            if (!chosen)
                throw Failure{FailureNumber::DialogCancelled, QStringLiteral("Cancel was selected.")};
            const QString path = dialog.FileName;
            if (modules_.exists.FileExists(path) &&
                messages_.show(QStringLiteral("Replace ") + path.toLower() + QStringLiteral(" file?"),
                               QStringLiteral("File exists, want to replace it?"), Box::Icon::Question,
                               Box::Buttons::YesNo) != Box::Answer::Yes)
                throw Failure{FailureNumber::DialogCancelled, QStringLiteral("Not replaced.")};
            state_.FileName = path;
            SetInputFile(state_.FileName);
            dialog.InitDir = state_.FilePath;
        },
        [&] {
            form_.PutAnswers();
            modules_.writer.WriteAnsFile(state_.FileName, state_.FilePath);
        },
        [&] {
            if (state_.SaveFailed)
                return;
            state_.DataChanged = false;
            form_.ShowFilename();
            form_.enableSubmitRun();
            result = true;
        },
    };
    try {
        runSteps(steps, [this](const Failure& f) {
            return handleFailure(QStringLiteral("FileSaveAs"), state_.fileTemp, f, Unexpected::EndsCommand);
        });
    } catch (const CommandAbandoned&) {
        // Reported where it failed; the false result ends whatever asked for the save.
    }
    // Nothing was written, whether the dialog was cancelled or the user gave up on a failing write:
    // the name keeps its extension, so that the next Save still finds the file.
    if (!result) {
        state_.SaveFailed = false;
        keepUnsaved(before);
    }
    return result;
}

// Nothing was written: the form's data keep the name they had and stay unsaved, so that New or Open
// still asks before replacing them.
void FileCommands::keepUnsaved(const CurrentFile& before) {
    state_.FileName = before.FileName;
    state_.FilePath = before.FilePath;
    state_.fileTempPath = before.fileTempPath;
}

void FileCommands::FileDelete() {
    CommonDialog& dialog = form_.fileDialog();
    try {
        dialog.DialogTitle = QStringLiteral("Select File to be Deleted");
        dialog.Filter = QStringLiteral("All Files (*.*)|*.*|Tolvik Files (*.Tolv)|*.Tolv");
        dialog.FilterIndex = 3;
        dialog.FileName = state_.FileName;
        if (!dialog.ShowOpen())
            return;
        const QString chosen = dialog.FileName;
        state_.fileTemp = chosen;
        if (modules_.exists.FileExists(chosen) &&
            messages_.show(QStringLiteral("Confirm Delete?"),
                           QStringLiteral("Delete '") + chosen + QStringLiteral("' File."),
                           Box::Icon::Question, Box::Buttons::YesNo) == Box::Answer::Yes &&
            (hasReadOnlyAttribute(chosen) || !QFile::remove(chosen)))
            return;
        SplitPath(chosen, state_.fileTempPath);
        dialog.InitDir = state_.fileTempPath;
    } catch (const Failure&) {
        // Any failure, a cancelled dialog included, ends the command without a word.
    }
}

void FileCommands::SetInputFile(const QString& Path) {
    if (!Path.isEmpty())
        state_.FileName = SplitPath(Path, state_.FilePath);
    if (state_.FilePath.isEmpty())
        state_.FilePath = InstallPaths::resolve(modules_.lookups.currentDirectory(), QStringLiteral("user"));
    state_.fileTempPath = state_.FilePath;
}

QString FileCommands::SplitPath(const QString& Path, QString& Dir) {
    const qsizetype cut = Path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) {
        Dir = modules_.lookups.currentDirectory();
        return Path;
    }
    // A file in the root directory keeps "/" as its directory.
    Dir = cut == 0 ? QStringLiteral("/") : Path.left(cut);
    return Path.mid(cut + 1);
}
