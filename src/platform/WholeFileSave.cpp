#include "WholeFileSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

WholeFileSave::Outcome WholeFileSave::failed(Outcome outcome, int error) {
    error_ = error != 0 ? error : EIO;
    return outcome;
}

// Where no file may be made beside it, the file itself is written over; QSaveFile's own fallback would
// empty it first and lose it on a full disk. The room the new contents need is taken before a byte of
// the old is touched, so that a disk too full leaves the file as it was.
#ifdef Q_OS_WIN
// A file's new length is given room at once on Windows: growing it takes the room or fails.
WholeFileSave::Outcome WholeFileSave::writeInPlace(const QByteArray& bytes) {
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failed(Outcome::NotOpened, EACCES);
    const qint64 before = file.size();
    if (bytes.size() > before && !file.resize(bytes.size())) {
        file.resize(before);
        return failed(Outcome::NotWritten, ENOSPC);
    }
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush())
        return failed(Outcome::NotWritten, EIO);
    return Outcome::Saved;
}
#else
WholeFileSave::Outcome WholeFileSave::writeInPlace(const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(Outcome::NotOpened, errno);
    struct stat before {};
    int error = ::fstat(fd, &before) == 0 ? 0 : errno;
    if (error == 0 && bytes.size() > before.st_size)
        error = ::posix_fallocate(fd, before.st_size, bytes.size() - before.st_size);
    if (error != 0) {
        // Whatever the reservation added goes again.
        [[maybe_unused]] const int restored = ::ftruncate(fd, before.st_size);
        ::close(fd);
        return failed(Outcome::NotWritten, error);
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::pwrite(fd, bytes.constData() + written, bytes.size() - written, written);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0) {
            error = step < 0 ? errno : EIO;
            break;
        }
        written += step;
    }
    if (error == 0 && (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0))
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error == 0 ? Outcome::Saved : failed(Outcome::NotWritten, error);
}
#endif

WholeFileSave::Outcome WholeFileSave::save(const QByteArray& bytes) {
    QSaveFile file(path_);
    errno = 0;
    // Unbuffered, so that a write the disk refuses fails here, where it is seen, and not in the flush
    // inside commit(), whose failure commit() ignores.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        if (directWriteFallback_ && error == EACCES && QFileInfo(path_).isFile())
            return writeInPlace(bytes);
        return failed(Outcome::NotOpened, error);
    }
    errno = 0;
    const qint64 written = file.write(bytes);
    const int writeError = errno;
    if (written != bytes.size() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return failed(Outcome::NotWritten, writeError);
    }
    if (beforeCommit_)
        beforeCommit_();
    errno = 0;
    if (!file.commit())
        return failed(Outcome::NotWritten, errno);
    return Outcome::Saved;
}
