#include "PosixFileSystemLookups.h"

#include "core/services/FileStamp.h"
#include "os/SystemErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
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
        throw errno == ENOENT ? Failure::of(FailureNumber::PathNotFound) : failureFromErrno(errno);
}

QString PosixFileSystemLookups::currentDirectory() {
    return QDir::currentPath();
}

// Asked as the effective user: a read-only mount, the mode bits and ACLs all count.
bool PosixFileSystemLookups::canWriteIn(const QString& directory) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(directory).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

FileStamp FileStamp::of(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino), info.st_size,
            info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}
