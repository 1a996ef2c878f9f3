#include "StoredValues.h"

#include "core/GuardedSteps.h"
#include "core/InstallPaths.h"
#include "core/PathNames.h"
#include "core/services/MessageBoxes.h"

namespace {
constexpr auto CurrentUser = SettingsStore::Root::CurrentUser;

// A stored directory that is absolute (a drive letter, or a leading "/") cannot be relative to the
// program directory; demos are used instead.
bool isAbsoluteStoredPath(const QString& path) {
    return (path.size() > 1 && path[1] == QLatin1Char(':')) || path.startsWith(QLatin1Char('/'));
}
} // namespace

const QString StoredValues::ProgramKey = QStringLiteral("Software\\Quenwick\\Tolvik");

QString StoredValues::MakerKey() {
    return ProgramKey.left(ProgramKey.lastIndexOf(QLatin1Char('\\')));
}

StoredValues::StoredValues(ProgramState& state, RegistryApi& registry, MessageBoxes& messages,
                           const InstallPaths& paths)
    : state_(state), registry_(registry), messages_(messages), paths_(paths) {}

void StoredValues::reportRegistryFailure(const QString& title, const QString& programName,
                                         const Failure& failure) {
    messages_.show(title,
                   unexpectedErrorText(failure) +
                       QStringLiteral("\nIt seems some Registry entry is corrupt!  Re-installing this \n") +
                       programName + QStringLiteral("program is the easiest fix."),
                   MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}

QString StoredValues::GetFileInRegistry() {
    QString result;
    if (!registry_.KeyExists(CurrentUser, ProgramKey))
        return result;
    const std::vector<Step> steps{
        [&] {
            result = lastPathComponent(regValueText(
                registry_.QueryValue(CurrentUser, ProgramKey, QStringLiteral("fileIn"), 1, QString())));
        },
        [&] {
            state_.UserPath = regValueText(
                registry_.QueryValue(CurrentUser, ProgramKey, QStringLiteral("userPath"), 1, QString()));
            if (state_.UserPath.isEmpty() || isAbsoluteStoredPath(state_.UserPath))
                state_.UserPath = QStringLiteral("demos");
        },
        [&] { state_.ParentPath = paths_.parentPath(); },
    };
    runSteps(steps, [&](const Failure& failure) {
        reportRegistryFailure(QStringLiteral("In 'GetFileInRegistry' routine ..."), QStringLiteral("Tolvik "),
                              failure);
        state_.ParentPath = paths_.parentPath();
        return StepOutcome::Next;
    });
    return result;
}

void StoredValues::PutFileInRegistry() {
    const std::vector<Step> steps{
        [&] { registry_.createKeyWhenMissing(CurrentUser, ProgramKey); },
        [&] { registry_.SetValue(CurrentUser, ProgramKey, QStringLiteral("FileIn"), 1, state_.FileName); },
        [&] { registry_.SetValue(CurrentUser, ProgramKey, QStringLiteral("userPath"), 1, state_.UserPath); },
    };
    runSteps(steps, [&](const Failure& failure) {
        reportRegistryFailure(QStringLiteral("In 'PutFileInRegistry'"), QStringLiteral("Tolvik™ "), failure);
        return StepOutcome::Next;
    });
}

void StoredValues::SaveRunCount() {
    registry_.createKeyWhenMissing(CurrentUser, ProgramKey);
    registry_.SetValue(CurrentUser, ProgramKey, QStringLiteral("RunCount"), 1, std::int32_t{state_.RunCount});
}
