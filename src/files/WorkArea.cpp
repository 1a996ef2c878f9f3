#include "WorkArea.h"

#include "core/Failure.h"
#include "core/InstallPaths.h"
#include "core/services/FileSystemLookups.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString WorkArea::perUserDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quenwick/Tolvik");
}

void WorkArea::settle() {
    const QString programDirectory = paths_.programDirectory();
    if (lookups_.canWriteIn(programDirectory)) {
        paths_.setWorkDirectory(programDirectory);
        return;
    }
    const QString work = perUserDirectory();
    paths_.setWorkDirectory(work);
    if (!QDir().mkpath(work))
        throw Failure::of(FailureNumber::PathFileAccess);
    const QString examples = InstallPaths::resolve(programDirectory, QStringLiteral("demos"));
    const QString copies = InstallPaths::resolve(work, QStringLiteral("demos"));
    if (lookups_.lookUp(copies) == FileSystemLookups::Entry::Missing)
        lookups_.makeDirectory(copies);
    copyMissingExamples(examples, copies);
}

// A copy the user has changed stays as it is; a save over a copy fails as over the shipped example.
void WorkArea::copyMissingExamples(const QString& from, const QString& to) {
    const QStringList names = QDir(from).entryList(QDir::Files);
    for (const QString& name : names) {
        const QString copy = to + QLatin1Char('/') + name;
        if (QFile::exists(copy))
            continue;
        if (!QFile::copy(from + QLatin1Char('/') + name, copy) ||
            !QFile::setPermissions(copy, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther))
            throw Failure::of(FailureNumber::PathFileAccess);
    }
}
