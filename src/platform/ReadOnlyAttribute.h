#pragma once

#include <QString>

// Like the read-only attribute on Windows: an existing file without write permission for its owner.
// Root could still write or delete it, so the permission bits are asked, not the system.
bool hasReadOnlyAttribute(const QString& path);
