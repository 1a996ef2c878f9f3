#include "FileAssociation.h"

#include <QDir>

namespace {
constexpr int storeRefused = 1;
constexpr auto classesRoot = SettingsStore::Root::ClassesRoot;
} // namespace

void FileAssociation::RegisterFileType(const QString& Ext, QString& ProgramDir, const QString& HandlerName,
                                       const QString& Description, const QString& IconPath) {
    if (!ProgramDir.endsWith(QLatin1Char('/')))
        ProgramDir += QLatin1Char('/');
    SetClassKeyValue(classesRoot, QLatin1Char('.') + Ext, QString(), HandlerName);
    SetClassKeyValue(classesRoot, HandlerName, QString(), Description);
    if (!IconPath.isEmpty())
        SetClassKeyValue(classesRoot, HandlerName + QStringLiteral("\\DefaultIcon"), QString(),
                         IconPath + QStringLiteral(",0"));
    SetClassKeyValue(classesRoot, HandlerName + QStringLiteral("\\shell\\open\\command"), QString(),
                     QLatin1Char('"') + QDir::toNativeSeparators(ProgramDir + HandlerName) +
                         QStringLiteral("\" %1"));
}

int FileAssociation::SetClassKeyValue(SettingsStore::Root Root, const QString& SubKey,
                                      const QString& ValueName, const QString& Data) {
    if (!store_.createKey(Root, SubKey))
        return storeRefused;
    return store_.writeValue(Root, SubKey, ValueName, StoredValue::ofText(Data)) ? 0 : storeRefused;
}
