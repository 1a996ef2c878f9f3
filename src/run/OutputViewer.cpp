#include "OutputViewer.h"

#include "core/services/FileSystemLookups.h"
#include "core/services/InstalledPrograms.h"
#include "core/services/MessageBoxes.h"
#include "core/services/Shell.h"
#include "files/ExistenceTests.h"
#include "settings/RegistryApi.h"
#include "settings/StoredValues.h"

#include <QDir>
#include <QFileInfo>

OutputViewer::OutputViewer(ProgramState& state, Modules modules) : state_(state), modules_(modules) {}

void OutputViewer::SetPlotFile(const QString& name) {
    QString plotFile = name;
    if (!name.isEmpty() && !name.endsWith(QLatin1String(".gif")) && !name.endsWith(QLatin1String(".plt"))) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        plotFile = ((dot < 0 ? name : name.left(dot)) + QStringLiteral(".plt")).toLower();
    }
    SavePlotSettings(plotFile);
}

void OutputViewer::SavePlotSettings(const QString& plotFile) {
    constexpr auto CurrentUser = SettingsStore::Root::CurrentUser;
    const QString makerKey = StoredValues::MakerKey();
    modules_.registry.createKeyWhenMissing(CurrentUser, makerKey);
    modules_.registry.SetValue(CurrentUser, makerKey, QStringLiteral("ProgramPath"), RegistryApi::TextKind,
                               QStringLiteral("\\Tolvik"));
    if (!plotFile.isEmpty())
        modules_.registry.SetValue(CurrentUser, makerKey, QStringLiteral("plotFile"), RegistryApi::TextKind,
                                   plotFile);
}

QString OutputViewer::ShortPath(const QString& path) {
    return InstalledPrograms::shortPath(path);
}

void OutputViewer::ViewLastOutput(const QString& name) {
    using Box = MessageBoxes;
    const QString found = ShortPath(name);
    if (found.isEmpty() || !modules_.exists.FileExists(found)) {
        modules_.messages.show(QStringLiteral("'") + name + QStringLiteral("' file not found."),
                               QStringLiteral("Last Output File, ") + name +
                                   QStringLiteral(", not found.\n") +
                                   QStringLiteral("Presently you are in the '") +
                                   modules_.lookups.currentDirectory() + QStringLiteral(" directory."),
                               Box::Icon::Exclamation, Box::Buttons::Ok);
        return;
    }
    const QString editor =
        QDir::cleanPath(state_.ParentPath + QLatin1Char('/') + InstalledPrograms::outputViewer());
    const QString file = QFileInfo(found).absoluteFilePath();
    if (!modules_.shell.startDetached(editor, {file}, QString()))
        modules_.messages.show(QStringLiteral("Last Output ..."),
                               QStringLiteral("The editor ") + editor +
                                   QStringLiteral(" could not be started to show ") + file +
                                   QStringLiteral("."),
                               Box::Icon::Exclamation, Box::Buttons::Ok);
}
