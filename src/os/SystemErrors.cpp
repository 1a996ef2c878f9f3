#include "SystemErrors.h"

#include <cerrno>
#include <cstring>

Failure failureFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return {FailureNumber::FileNotFound, QStringLiteral("File not found")};
    case EACCES:
    case EPERM:
        return {FailureNumber::PermissionDenied, QStringLiteral("Permission denied")};
    case EROFS:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return {FailureNumber::PathFileAccess, QStringLiteral("Path/File access error")};
    case ENOTDIR:
    case ENAMETOOLONG:
#ifdef ELOOP
    case ELOOP:
#endif
        return {FailureNumber::PathNotFound, QStringLiteral("Path not found")};
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return {FailureNumber::DiskFull, QStringLiteral("Disk full")};
    case EIO:
        return {FailureNumber::DeviceIo, QStringLiteral("Device I/O error")};
    case ENODEV:
    case ENXIO:
        return {FailureNumber::DeviceUnavailable, QStringLiteral("Device unavailable")};
#ifdef ENOMEDIUM
    case ENOMEDIUM:
        return {FailureNumber::DiskNotReady, QStringLiteral("Disk not ready")};
#endif
    default:
        return {FailureNumber::DeviceIo, QString::fromLocal8Bit(std::strerror(error))};
    }
}
