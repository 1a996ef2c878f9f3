#include "WorkArea.h"

#include "core/Failure.h"
#include "core/InstallPaths.h"
#include "core/services/FileSystemLookups.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

// A relative XDG_DATA_HOME is ignored, as the base directory rules (and the run script) ignore it.
QString WorkArea::perUserDirectory() {
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/Quenwick/Tolvik"));
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

// Only the input files: what a run as the installation's owner left there is not an example. A copy the
// user has changed stays as it is; a save over a copy fails as over the shipped example. One that
// cannot be copied is left out, and its demo says the file is missing: the others still run.
void WorkArea::copyMissingExamples(const QString& from, const QString& to) {
    const QStringList names = QDir(from).entryList({QStringLiteral("*.tolv")}, QDir::Files);
    for (const QString& name : names) {
        const QString copy = to + QLatin1Char('/') + name;
        if (!QFile::exists(copy) && QFile::copy(from + QLatin1Char('/') + name, copy))
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}
