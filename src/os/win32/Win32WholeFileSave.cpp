#include "os/WholeFileSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <io.h>
#include <string>

#include <windows.h>

namespace {
// The error number the callers know for a system error.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// Zero once every byte reached the disk, else the system error of the call that failed.
DWORD writeAndFlush(HANDLE file, const QByteArray& bytes) {
    constexpr qsizetype largestWrite = 1 << 30;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const qsizetype left = bytes.size() - written;
        DWORD step = 0;
        if (!WriteFile(file, bytes.constData() + written, DWORD(left < largestWrite ? left : largestWrite),
                       &step, nullptr))
            return GetLastError();
        if (step == 0)
            return ERROR_WRITE_FAULT;
        written += step;
    }
    return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}
} // namespace

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
    // flush() of an unbuffered file hands nothing to the disk; the system's own flush does.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !FlushFileBuffers(handle))
        return failed(Outcome::NotWritten, EIO);
    return Outcome::Saved;
}

WholeFileSave::Outcome WholeFileSave::save(const QByteArray& bytes) {
    const std::wstring target = native(path_);
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = target + QString::fromLatin1(temporarySuffix()).toStdWString();
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        const int error = errnoOf(GetLastError());
        if (directWriteFallback_ && error == EACCES && QFileInfo(path_).isFile())
            return writeInPlace(bytes);
        return failed(Outcome::NotOpened, error);
    }
    DWORD error = writeAndFlush(file, bytes);
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error == ERROR_SUCCESS && beforeCommit_)
        beforeCommit_();
    // Write-through: the call returns once the new name is on the disk.
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return failed(Outcome::NotWritten, errnoOf(error));
    }
    return Outcome::Saved;
}
