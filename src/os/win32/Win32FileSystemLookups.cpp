#include "Win32FileSystemLookups.h"

#include "core/Failure.h"
#include "core/services/FileStamp.h"

#include <QDir>

#include <windows.h>

namespace {
Failure failureFromLastError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return Failure::of(FailureNumber::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return Failure::of(FailureNumber::PathNotFound);
    case ERROR_ACCESS_DENIED:
        return Failure::of(FailureNumber::PermissionDenied);
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
        return Failure::of(FailureNumber::PathFileAccess);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Failure::of(FailureNumber::DiskFull);
    case ERROR_NOT_READY:
        return Failure::of(FailureNumber::DiskNotReady);
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
        return Failure::of(FailureNumber::DeviceUnavailable);
    default:
        return Failure::of(FailureNumber::DeviceIo);
    }
}

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}
} // namespace

FileSystemLookups::Entry Win32FileSystemLookups::lookUp(const QString& path) {
    if (path.isEmpty())
        return Entry::Missing;
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            return Entry::Missing;
        throw failureFromLastError(error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Entry::Directory;
    if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return Entry::HiddenFile;
    return Entry::File;
}

void Win32FileSystemLookups::makeDirectory(const QString& path) {
    if (!CreateDirectoryW(native(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw failureFromLastError(GetLastError());
}

void Win32FileSystemLookups::changeDirectory(const QString& path) {
    if (!SetCurrentDirectoryW(native(path).c_str()))
        throw failureFromLastError(GetLastError());
}

QString Win32FileSystemLookups::currentDirectory() {
    return QDir::currentPath();
}

// Access lists decide it, which the attributes do not show: a file is made there and goes at its close.
bool Win32FileSystemLookups::canWriteIn(const QString& directory) {
    const std::wstring probe = native(directory + QStringLiteral("/~Tolvik.write.test"));
    const HANDLE handle = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

FileStamp FileStamp::of(const QString& path) {
    const HANDLE handle = CreateFileW(native(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!read)
        return {};
    const auto joined = [](DWORD high, DWORD low) { return (quint64(high) << 32) | low; };
    return {true, info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow),
            qint64(joined(info.nFileSizeHigh, info.nFileSizeLow)),
            qint64(joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime))};
}
