#include "StartUpSequence.h"

#include "core/services/InstalledPrograms.h"

#include "IntroductionMessages.h"
#include "ProgramModules.h"
#include "core/FormLoadFailure.h"
#include "core/services/FileSystemLookups.h"
#include "core/services/Form.h"
#include "core/services/MessageBoxes.h"
#include "core/services/SettingsStore.h"
#include "files/WorkArea.h"
#include "os/DesktopRegistration.h"

#include <QDir>

#include <cmath>
#include <limits>

StartUpSequence::StartUpSequence(ProgramState& state, Form& form, ProgramModules& modules,
                                 const AppServices& services, std::function<void()> captureLayout)
    : state_(state), form_(form), modules_(modules), services_(services),
      captureLayout_(std::move(captureLayout)) {}

void StartUpSequence::run() {
    const ExistenceTests::DuringStartUp startingUp(modules_.exists);
    makerKey_ = StoredValues::MakerKey();
    const std::vector<Step> steps{
        [&] { WorkArea(modules_.paths, services_.lookups).settle(); },
        [&] { createKeys(); },
        [&] { readStoredSettings(); },
        [&] { state_.FileName = modules_.stored.GetFileInRegistry(); },
        [&] { findLastInputFile(); },
        [&] { readLastInputFile(); },
        [&] { modules_.startup.Start_INI(); },
        // A file that was read keeps its own directory: the bare name alone would place it in the
        // work directory, which the directory check has just made current, and Save and Submit
        // would then miss it.
        [&] { modules_.commands.SetInputFile(lastFileRead_ ? LoadPath_ : state_.FileName); },
        [&] {
            if (state_.RunCount < 2) {
                showIntroduction('A');
                registerFileTypes();
            }
        },
        [&] {
            if (state_.RunCount < 3)
                showIntroduction('B');
            if (state_.RunCount < 6)
                showIntroduction('C');
            if (state_.RunCount == 5 || state_.RunCount == 6)
                showIntroduction('D');
        },
        [&] { state_.DataChanged = false; },
        [&] { captureLayout_(); },
    };
    runSteps(steps, [this](const Failure& failure) { return handleLoadFailure(failure); });
}

// Both keys in one save of the store, and no save at all (nor the lock it takes) when both are there.
void StartUpSequence::createKeys() {
    using Root = SettingsStore::Root;
    if (modules_.registry.KeyExists(Root::CurrentUser, makerKey_) &&
        modules_.registry.KeyExists(Root::CurrentUser, StoredValues::ProgramKey))
        return;
    const bool stored = services_.store.batch([&] {
        if (!modules_.registry.KeyExists(Root::CurrentUser, makerKey_)) {
            modules_.registry.CreateKey(Root::CurrentUser, makerKey_);
            modules_.registry.CreateKey(Root::CurrentUser, StoredValues::ProgramKey);
        } else if (!modules_.registry.KeyExists(Root::CurrentUser, StoredValues::ProgramKey)) {
            modules_.registry.CreateKey(Root::CurrentUser, StoredValues::ProgramKey);
        }
    });
    if (!stored)
        throw modules_.registry.storeFailure(QStringLiteral("Unable to create the registry key"));
}

void StartUpSequence::readStoredSettings() {
    using Root = SettingsStore::Root;
    form_.setPauseTimeText(regValueText(modules_.registry.QueryValue(
        Root::CurrentUser, makerKey_, QStringLiteral("tPause"), RegistryApi::TextKind, QString())));
    if (form_.pauseTimeText().isEmpty())
        form_.setPauseTimeText(QStringLiteral("20"));
    const QString count = regValueText(
        modules_.registry.QueryValue(Root::CurrentUser, StoredValues::ProgramKey, QStringLiteral("RunCount"),
                                     RegistryApi::TextKind, std::int32_t{0}));
    bool ok = false;
    const double number = count.trimmed().toDouble(&ok);
    if (!ok)
        throw Failure{13, QStringLiteral("Type mismatch")};
    if (number < std::numeric_limits<std::int16_t>::min() ||
        number > std::numeric_limits<std::int16_t>::max())
        throw Failure{6, QStringLiteral("Overflow")};
    state_.RunCount = static_cast<std::int16_t>(std::nearbyint(number));
}

void StartUpSequence::findLastInputFile() {
    const QString workDirectory = modules_.paths.workDirectory();
    const bool single =
        !state_.UserPath.contains(QLatin1Char('/')) && !state_.UserPath.contains(QLatin1Char('\\'));
    state_.FilePath = state_.UserPath.isEmpty() ? workDirectory
                      : single                  ? InstallPaths::resolve(workDirectory, state_.UserPath)
                                                : workDirectory + QLatin1Char('/') + state_.UserPath;
    // A directory removed since the last run would otherwise stop every start from now on.
    if (!modules_.exists.dirExists(state_.FilePath))
        state_.FilePath = workDirectory;
    state_.fileTempPath = state_.FilePath;
    LoadPath_ = state_.FilePath;
    services_.lookups.changeDirectory(state_.FilePath);
    LoadPath_ += QLatin1Char('/') + state_.FileName;
}

// Example files are never reopened at start; a file that is gone leaves the default answers.
void StartUpSequence::readLastInputFile() {
    const bool example = state_.FileName.left(2).toLower() == QLatin1String("ex");
    if (!example && !state_.FileName.isEmpty() && modules_.exists.FileExists(LoadPath_)) {
        state_.fileTemp = state_.FileName;
        state_.FileNum = modules_.channel.FreeFile();
        modules_.channel.openForInput(state_.FileNum, LoadPath_);
        lastFileRead_ = true;
        modules_.reader.FileReadMe(state_.fileTemp, state_.fileTempPath);
        modules_.channel.close(state_.FileNum);
        form_.GetAnswers();
        state_.DataChanged = false;
        return;
    }
    if (example)
        state_.FileName.clear();
    form_.PutAnswers();
}

void StartUpSequence::showIntroduction(char which) {
    const IntroductionMessage message = introductionMessage(which);
    services_.messages.show(message.title, message.text, MessageBoxes::Icon::None, MessageBoxes::Buttons::Ok);
}

void StartUpSequence::registerFileTypes() {
    state_.ParentPath = modules_.paths.parentPath();
    struct Registration {
        const char* extension;
        QString handler;
        const char* description;
        int globWeight;
    };
    // ".out" is a common extension: it yields to any other type that claims it.
    const QString editor = InstalledPrograms::editorLauncher();
    const Registration registrations[]{{"Out", editor, "VT Output", 10},
                                       {"Tolv", editor, "Tolv Input file", 50},
                                       {"plt", QStringLiteral("Plotvanes"), "XYplot file", 50}};
    QList<DesktopRegistration::FileType> types;
    // The class entries go to the store in one save; a refused registration is not reported.
    services_.store.batch([&] {
        for (const Registration& r : registrations) {
            modules_.association.RegisterFileType(QLatin1String(r.extension), state_.ParentPath, r.handler,
                                                  QLatin1String(r.description), QString());
            types.append({QLatin1String(r.extension), QDir::cleanPath(state_.ParentPath + r.handler),
                          QLatin1String(r.description), r.globWeight});
        }
    });
    DesktopRegistration desktop;
    const QString programDirectory = modules_.paths.programDirectory();
    desktop.registerProgram(programDirectory + QStringLiteral("/tolvik"),
                            programDirectory + QStringLiteral("/tolvik.svg"));
    desktop.registerTypes(types);
}

// Past a refused retry or a report, the program cannot start.
StepOutcome StartUpSequence::handleLoadFailure(const Failure& failure) {
    const StepOutcome outcome =
        handleFormLoadFailure({services_.messages, state_, modules_.paths.programDirectory(),
                               QStringLiteral("In 'form_load' routine ..."), QStringLiteral("fileTempPath")},
                              failure);
    if (outcome == StepOutcome::Retry || failure.number == FailureNumber::DialogCancelled)
        return outcome;
    modules_.end.EndProgram();
}
