#pragma once

#include <QString>

// A numbered failure raised inside a routine and handled by that routine's own handler.
struct Failure {
    int number = 0;
    QString description;

    // A failure of the file system by its number, with the description every routine gives it.
    static Failure of(int number);
};

namespace FailureNumber {
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int SettingsStore = 1001;
inline constexpr int DialogCancelled = 32755;
} // namespace FailureNumber

// " 53" for 53, "-5" for -5: the blank keeps "#" and the digits apart in every message.
QString formatErrorNumber(int number);

// "Unexpected error # 53 occured: " + description.
QString unexpectedErrorText(const Failure& failure);
