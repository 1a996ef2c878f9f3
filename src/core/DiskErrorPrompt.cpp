#include "DiskErrorPrompt.h"

#include "Failure.h"
#include "core/services/MessageBoxes.h"

std::optional<bool> askRetryAfterDiskError(MessageBoxes& messages, const QString& title,
                                           const Failure& failure, const QString& path) {
    QString text;
    if (failure.number == FailureNumber::DiskNotReady)
        text = QStringLiteral("Put a floppy disk in the drive and cloce the drive door.");
    else if (failure.number == FailureNumber::DeviceUnavailable)
        text = QStringLiteral("This drive or path does not exist: ") + path;
    else
        return std::nullopt;
    return messages.show(title, text, MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::OkCancel) ==
           MessageBoxes::Answer::Ok;
}
