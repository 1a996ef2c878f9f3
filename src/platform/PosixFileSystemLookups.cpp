#include "PosixFileSystemLookups.h"

#include "SystemErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

FileSystemLookups::Entry PosixFileSystemLookups::lookUp(const QString& path) {
    if (path.isEmpty())
        return Entry::Missing;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Entry::Missing;
        throw failureFromErrno(errno);
    }
    if (S_ISDIR(info.st_mode))
        return Entry::Directory;
    if (!S_ISREG(info.st_mode))
        return Entry::Other;
    return QFileInfo(path).fileName().startsWith(QLatin1Char('.')) ? Entry::HiddenFile : Entry::File;
}

void PosixFileSystemLookups::makeDirectory(const QString& path) {
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST)
        throw failureFromErrno(errno);
}

void PosixFileSystemLookups::changeDirectory(const QString& path) {
    if (::chdir(QFile::encodeName(path).constData()) != 0)
        throw errno == ENOENT ? Failure{FailureNumber::PathNotFound, QStringLiteral("Path not found")}
                              : failureFromErrno(errno);
}

QString PosixFileSystemLookups::currentDirectory() {
    return QDir::currentPath();
}
