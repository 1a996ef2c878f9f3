#pragma once

#include <QString>

// Like the read-only attribute on Windows: an existing file without write permission for its owner.
// Root could still write or delete it, so the permission bits are asked, not the system. A look-up that
// fails for another reason than a missing file or a refusal (a disk that cannot be read) raises its
// failure, rather than passing for a read-only file.
bool hasReadOnlyAttribute(const QString& path);
