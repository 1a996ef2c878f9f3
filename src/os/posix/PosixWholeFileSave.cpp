#include "PosixSaveCalls.h"
#include "os/WholeFileSave.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {
int openFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

int allocate(int fd, off_t offset, off_t length) {
    const int error = ::posix_fallocate(fd, offset, length);
    if (error == 0)
        return 0;
    errno = error;
    return -1;
}

// Every byte, or the error number of the write that failed.
int writeAll(int fd, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step = saveCalls.write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return step < 0 ? errno : EIO;
        written += step;
    }
    return 0;
}

// The file a path leads to through symbolic links, as QSaveFile found it: a link's target is replaced
// and the link kept, a dangling link makes its target, and a loop of links is replaced itself. Zero, or
// the error number of a look-up that failed.
int followLinks(QByteArray& path) {
    QByteArray target = path;
    for (int hop = 0; hop < 40; ++hop) {
        char buffer[PATH_MAX];
        const ssize_t length = saveCalls.readlink(target.constData(), buffer, sizeof buffer);
        if (length < 0) {
            // Not a link, or nothing there yet: the path names the file itself.
            if (errno != EINVAL && errno != ENOENT)
                return errno;
            path = target;
            return 0;
        }
        if (size_t(length) == sizeof buffer)
            return ENAMETOOLONG;
        const QByteArray next(buffer, length);
        target = next.startsWith('/') ? next : target.left(target.lastIndexOf('/') + 1) + next;
    }
    return 0;
}

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// Gives the temporary file the target's name, and makes the new name outlast a crash; zero, or the
// error number of the call that failed. Where the rename did not happen the temporary file is removed.
int renameLasting(const QByteArray& temporary, const QByteArray& target) {
    // The directory is opened first, so that only its sync can fail once the old file is gone. One
    // that may be written but not read cannot be opened: its rename goes unsynced, as it always did.
    const int directory =
        saveCalls.open(directoryOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    const bool unreadable = directory < 0 && (errno == EACCES || errno == EPERM);
    if ((directory < 0 && !unreadable) || saveCalls.rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        if (directory >= 0)
            ::close(directory);
        return error;
    }
    if (directory < 0)
        return 0;
    // The new contents are in place, but until the directory is synced the rename may not outlast a
    // crash: a failed sync fails the save, so that nothing is taken for safely saved that may not be.
    // A file system that cannot sync a directory answers EINVAL: there is nothing to wait for then.
    const int error = saveCalls.fsync(directory) != 0 && errno != EINVAL ? errno : 0;
    ::close(directory); // opened for reading only, to be synced: nothing is lost at its close
    return error;
}
} // namespace

SaveCalls saveCalls{
    .readlink = ::readlink,
    .stat = ::stat,
    .open = openFile,
    .fstat = ::fstat,
    .fallocate = allocate,
    .write = ::write,
    .ftruncate = ::ftruncate,
    .fchmod = ::fchmod,
    .fsync = ::fsync,
    .close = ::close,
    .rename = ::rename,
};

// Where no file may be made beside it, the file itself is written over; QSaveFile's own fallback would
// empty it first and lose it on a full disk. The room the new contents need is taken before a byte of
// the old is touched, so that a disk too full leaves the file as it was.
WholeFileSave::Outcome WholeFileSave::writeInPlace(const QByteArray& bytes) {
    const int fd = saveCalls.open(QFile::encodeName(path_).constData(), O_WRONLY | O_CLOEXEC, 0);
    if (fd < 0)
        return failed(Outcome::NotOpened, errno);
    struct stat before {};
    if (saveCalls.fstat(fd, &before) != 0) {
        // The old length is not known: nothing may be cut back to a guess of it.
        const int error = errno;
        ::close(fd);
        return failed(Outcome::NotWritten, error);
    }
    int error = 0;
    if (bytes.size() > before.st_size &&
        saveCalls.fallocate(fd, before.st_size, bytes.size() - before.st_size) != 0)
        error = errno;
    if (error != 0) {
        // Whatever the reservation added goes again.
        [[maybe_unused]] const int restored = ::ftruncate(fd, before.st_size);
        ::close(fd);
        return failed(Outcome::NotWritten, error);
    }
    error = writeAll(fd, bytes);
    if (error == 0 && (saveCalls.ftruncate(fd, bytes.size()) != 0 || saveCalls.fsync(fd) != 0))
        error = errno;
    if (saveCalls.close(fd) != 0 && error == 0)
        error = errno;
    return error == 0 ? Outcome::Saved : failed(Outcome::NotWritten, error);
}

WholeFileSave::Outcome WholeFileSave::save(const QByteArray& bytes) {
    QByteArray target = QFile::encodeName(path_);
    if (const int error = followLinks(target))
        return failed(Outcome::NotOpened, error);
    // The mode is settled before anything is written: a file that cannot be looked up is not replaced
    // with one of a guessed mode. A loop of links leads to no file; the path is made a new one then.
    struct stat old {};
    const bool replacing = saveCalls.stat(target.constData(), &old) == 0;
    if (!replacing && errno != ENOENT && errno != ELOOP)
        return failed(Outcome::NotOpened, errno);
    if (replacing && S_ISDIR(old.st_mode))
        return failed(Outcome::NotOpened, EISDIR);

    // Until it has the old file's mode the new file is the owner's alone. A file that is new takes the
    // mode any new file takes there: 0666 under the umask, or the directory's default ACL.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = target + temporarySuffix();
        fd = saveCalls.open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                            replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        if (directWriteFallback_ && error == EACCES && replacing && S_ISREG(old.st_mode))
            return writeInPlace(bytes);
        return failed(Outcome::NotOpened, error);
    }

    int error = writeAll(fd, bytes);
    if (error == 0 && replacing && saveCalls.fchmod(fd, old.st_mode & 0777) != 0)
        error = errno;
    if (error == 0 && saveCalls.fsync(fd) != 0)
        error = errno;
    if (saveCalls.close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return failed(Outcome::NotWritten, error);
    }
    if (beforeCommit_)
        beforeCommit_();
    error = renameLasting(temporary, target);
    return error == 0 ? Outcome::Saved : failed(Outcome::NotWritten, error);
}
