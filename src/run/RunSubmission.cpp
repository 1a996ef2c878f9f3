#include "RunSubmission.h"

#include "OutputViewer.h"
#include "core/Failure.h"
#include "core/InstallPaths.h"
#include "core/services/FileSystemLookups.h"
#include "core/services/Form.h"
#include "core/services/InstalledPrograms.h"
#include "core/services/MessageBoxes.h"
#include "core/services/Shell.h"
#include "files/ExistenceTests.h"
#include "files/FileCommands.h"
#include "settings/RegistryApi.h"
#include "settings/StoredValues.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr auto CurrentUser = SettingsStore::Root::CurrentUser;
using Box = MessageBoxes;
} // namespace

RunSubmission::RunSubmission(ProgramState& state, Form& form, Modules modules)
    : state_(state), form_(form), modules_(modules) {}

// "File is missing" only where something is missing; any other failure (the settings that could not be
// stored, a disk that cannot be read or written) is told by its own cause.
void RunSubmission::reportFailure(const QString& routine, const Failure& failure) {
    if (failure.number != FailureNumber::FileNotFound && failure.number != FailureNumber::PathNotFound) {
        const QString consequence =
            failure.number == FailureNumber::SettingsStore
                ? QStringLiteral("\nThe settings could not be stored: nothing was run.")
                : QStringLiteral("\nNothing was run.");
        modules_.messages.show(QStringLiteral("In '") + routine + QStringLiteral("' routine ..."),
                               unexpectedErrorText(failure) + consequence, Box::Icon::Critical,
                               Box::Buttons::Ok);
        return;
    }
    modules_.messages.show(
        QStringLiteral("A Tolvik File is missing!"),
        QStringLiteral("File is missing ... in '") + routine +
            QStringLiteral("' routine!\nTry running a different file that normally works, "
                           "then try this\none again.  Did error come back?  Not sure what "
                           "going on here."),
        Box::Icon::Exclamation, Box::Buttons::Ok);
}

void RunSubmission::submit() {
    // The pause time is stored by FileRun2, first of all; storing it here as well would only save the
    // store a second time.
    try {
        modules_.registry.createKeyWhenMissing(CurrentUser, StoredValues::MakerKey());
    } catch (const Failure& failure) {
        reportFailure(QStringLiteral("FileRun2"), failure);
        return;
    }
    state_.RunMode = QStringLiteral("*");
    FileRun2();
}

void RunSubmission::runDemo() {
    state_.RunMode = QStringLiteral("Demo");
    FileRun2();
}

void RunSubmission::FileRun2() {
    try {
        modules_.registry.SetValue(CurrentUser, StoredValues::MakerKey(), QStringLiteral("tPause"),
                                   RegistryApi::TextKind, form_.pauseTimeText());
        if (!state_.DemoFile.isEmpty() && state_.RunMode == QLatin1String("Demo")) {
            runDemoFile();
            state_.SaveFailed = false;
            return;
        }
        if (!saveBeforeRun())
            return;
        state_.fileTemp = state_.FileName;
        StartRun();
        state_.SaveFailed = false;
    } catch (const Failure& failure) {
        reportFailure(QStringLiteral("FileRun2"), failure);
    }
}

void RunSubmission::runDemoFile() {
    const QString demos = InstallPaths::resolve(modules_.paths.workDirectory(), QStringLiteral("demos"));
    modules_.lookups.changeDirectory(demos);
    state_.fileTempPath = demos;
    state_.fileTemp = state_.DemoFile;
    state_.UserPath = QStringLiteral("demos");
    if (state_.DemoFile.startsWith(QLatin1String("Ex")))
        StartRun();
}

// False when the run must not go on: the user declined, or the file was not written.
bool RunSubmission::saveBeforeRun() {
    // Answers that never had a file (no last file at start-up), or whose file is gone, are as new as
    // "New data": without a save there would be nothing to run, and nothing would say so.
    const QString name = state_.FileName.isEmpty() ? NewDataName : state_.FileName;
    if (name != NewDataName && !state_.DataChanged && currentFileExists())
        return true;
    if (modules_.messages.show(QStringLiteral("File -not- saved OR has been modified!"),
                               QStringLiteral("Okay to save '") + name + QStringLiteral("' now?"),
                               Box::Icon::Question, Box::Buttons::OkCancel) != Box::Answer::Ok)
        return false;
    if (!modules_.commands.FileSaveAs())
        return false;
    state_.fileTemp = state_.FileName;
    state_.fileTempPath = state_.FilePath;
    modules_.lookups.changeDirectory(state_.fileTempPath);
    return modules_.exists.FileExists(state_.FileName);
}

bool RunSubmission::currentFileExists() {
    using Entry = FileSystemLookups::Entry;
    const Entry found = modules_.lookups.lookUp(QDir(state_.FilePath).filePath(state_.FileName));
    return found == Entry::File || found == Entry::HiddenFile;
}

void RunSubmission::StartRun() {
    modules_.output.SetPlotFile(state_.fileTemp);
    exitWin();
}

void RunSubmission::exitWin() {
    try {
        const QString workDirectory = modules_.paths.workDirectory();
        if (state_.RunMode == QLatin1String("Demo")) {
            // No example chosen: nothing can run, and the remembered last input file must not be
            // replaced by an empty name.
            if (state_.DemoFile.isEmpty())
                return;
            const QString current = state_.FileName;
            state_.FileName = state_.DemoFile;
            modules_.stored.PutFileInRegistry();
            state_.FileName = current;
            state_.fileTemp = state_.DemoFile;
            state_.UserPath = QStringLiteral("demos");
            modules_.lookups.changeDirectory(
                InstallPaths::resolve(workDirectory, QStringLiteral("demos")));
        } else if (state_.UserPath == workDirectory && state_.FilePath == workDirectory) {
            // Only a second run of a file that lies in the work directory itself; any other file
            // keeps its place.
            state_.UserPath.clear();
            modules_.lookups.changeDirectory(state_.FilePath);
        } else {
            state_.fileTemp = state_.FileName;
            const QString inside = workDirectory + QLatin1Char('/');
            state_.UserPath = state_.FilePath;
            // Only a path that begins there lies below the work directory.
            if (state_.UserPath.startsWith(inside, Qt::CaseInsensitive))
                state_.UserPath.remove(0, inside.size());
            modules_.stored.PutFileInRegistry();
            modules_.lookups.changeDirectory(state_.FilePath);
        }
        if (state_.fileTemp.isEmpty())
            return;
        runScript();
    } catch (const Failure& failure) {
        reportFailure(QStringLiteral("exitWin"), failure);
    }
}

// A file outside the work directory keeps its output beside it, in its own directory's output.
void RunSubmission::runScript() {
    const QString workDirectory = modules_.paths.workDirectory();
    const bool absolute = state_.UserPath.startsWith(QLatin1Char('/'));
    const QString runDirectory = state_.UserPath.isEmpty() ? workDirectory
                                 : absolute                ? state_.UserPath
                                                           : workDirectory + QLatin1Char('/') + state_.UserPath;
    const QString output = runDirectory + QStringLiteral("/output");
    if (!modules_.exists.dirExists(output))
        modules_.lookups.makeDirectory(output);
    const InstalledPrograms::RunCommand command = InstalledPrograms::runScript(
        modules_.paths.programDirectory(), state_.fileTemp, state_.UserPath, form_.autoExitChecked());
    const QString script = QDir::fromNativeSeparators(command.arguments.at(command.arguments.size() - 4));
    if (!QFileInfo(script).isFile()) {
        modules_.messages.show(QStringLiteral("A Tolvik File is missing!"),
                               QStringLiteral("The run script ") + script +
                                   QStringLiteral(" is missing: nothing was run. Reinstall Tolvik."),
                               Box::Icon::Exclamation, Box::Buttons::Ok);
        return;
    }
    modules_.shell.runAndWait(command.program, command.arguments, modules_.lookups.currentDirectory(),
                              QStringLiteral("~Tolvik.out"));
}
