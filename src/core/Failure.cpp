#include "Failure.h"

#include <array>
#include <utility>

Failure Failure::of(int number) {
    using namespace FailureNumber;
    static const std::array<std::pair<int, const char*>, 8> texts{{
        {FileNotFound, "File not found"},
        {DeviceIo, "Device I/O error"},
        {DiskFull, "Disk full"},
        {DeviceUnavailable, "Device unavailable"},
        {PermissionDenied, "Permission denied"},
        {DiskNotReady, "Disk not ready"},
        {PathFileAccess, "Path/File access error"},
        {PathNotFound, "Path not found"},
    }};
    for (const auto& [known, text] : texts)
        if (known == number)
            return {number, QString::fromLatin1(text)};
    return {number, QString()};
}

QString formatErrorNumber(int number) {
    return number < 0 ? QString::number(number) : QStringLiteral(" ") + QString::number(number);
}

QString unexpectedErrorText(const Failure& failure) {
    return QStringLiteral("Unexpected error #") + formatErrorNumber(failure.number) +
           QStringLiteral(" occured: ") + failure.description;
}
