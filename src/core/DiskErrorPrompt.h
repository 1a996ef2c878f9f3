#pragma once

#include <QString>

#include <optional>

class MessageBoxes;
struct Failure;

// The questions the routines ask after a disk that is not ready (71) or a drive or path that does
// not exist (68): whether to try again. Both offer Cancel, so a disk error cannot hold the user.
// Nothing for any other failure.
std::optional<bool> askRetryAfterDiskError(MessageBoxes& messages, const QString& title,
                                           const Failure& failure, const QString& path);
