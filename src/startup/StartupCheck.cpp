#include "StartupCheck.h"

#include "core/GuardedSteps.h"
#include "core/InstallPaths.h"
#include "core/services/Form.h"
#include "core/services/MessageBoxes.h"
#include "files/CommonDialog.h"
#include "files/ExistenceTests.h"

StartupCheck::StartupCheck(ProgramState& state, Form& form, ExistenceTests& exists,
                           FileSystemLookups& lookups, MessageBoxes& messages, const InstallPaths& paths)
    : state_(state), form_(form), exists_(exists), lookups_(lookups), messages_(messages), paths_(paths) {}

void StartupCheck::Start_INI() {
    const QString workDirectory = paths_.workDirectory();
    const std::vector<Step> steps{
        [&] {
            state_.SaveFailed = false;
            state_.SolverCount = 0;
            state_.RunMode = QStringLiteral(" ");
        },
        [&] { form_.GetAnswers(); },
        [&] {
            const QString user = InstallPaths::resolve(workDirectory, QStringLiteral("User"));
            if (!exists_.dirExists(user))
                lookups_.makeDirectory(user);
        },
        [&] { lookups_.changeDirectory(workDirectory); },
        [&] { form_.fileDialog().InitDir = workDirectory; },
    };
    runSteps(steps, [&](const Failure& failure) {
        if (failure.number != 0)
            messages_.show(QStringLiteral("In 'Start_INI' routine ..."),
                           QStringLiteral("Unexpected error #") + formatErrorNumber(failure.number) +
                               QStringLiteral(" occured: \nPath =") + workDirectory + QLatin1Char('\n') +
                               failure.description + QStringLiteral(".  Suggest re-installing Tolvik."),
                           MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
        return StepOutcome::Next;
    });
}
