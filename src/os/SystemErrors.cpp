#include "SystemErrors.h"

#include <cerrno>
#include <cstring>

Failure failureFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return Failure::of(FailureNumber::FileNotFound);
    case EACCES:
    case EPERM:
        return Failure::of(FailureNumber::PermissionDenied);
    case EROFS:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return Failure::of(FailureNumber::PathFileAccess);
    case ENOTDIR:
    case ENAMETOOLONG:
#ifdef ELOOP
    case ELOOP:
#endif
        return Failure::of(FailureNumber::PathNotFound);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return Failure::of(FailureNumber::DiskFull);
    case EIO:
        return Failure::of(FailureNumber::DeviceIo);
    case ENODEV:
    case ENXIO:
        return Failure::of(FailureNumber::DeviceUnavailable);
#ifdef ENOMEDIUM
    case ENOMEDIUM:
        return Failure::of(FailureNumber::DiskNotReady);
#endif
    default:
        return {FailureNumber::DeviceIo, QString::fromLocal8Bit(std::strerror(error))};
    }
}
