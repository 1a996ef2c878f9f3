#include "WholeFileSave.h"

#include <QSaveFile>

#include <cerrno>

WholeFileSave::Outcome WholeFileSave::failed(Outcome outcome, int error) {
    error_ = error != 0 ? error : EIO;
    return outcome;
}

WholeFileSave::Outcome WholeFileSave::save(const QByteArray& bytes) {
    QSaveFile file(path_);
    file.setDirectWriteFallback(directWriteFallback_);
    errno = 0;
    // Unbuffered, so that a write the disk refuses fails here, where it is seen, and not in the flush
    // inside commit(), whose failure commit() ignores.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(Outcome::NotOpened, errno);
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
