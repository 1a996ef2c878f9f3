#include "os/ReadOnlyAttribute.h"

#include <QFileInfo>

bool hasReadOnlyAttribute(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner));
}
