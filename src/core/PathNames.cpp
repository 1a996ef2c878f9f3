#include "PathNames.h"

#include <algorithm>

QString lastPathComponent(const QString& name) {
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? name : name.mid(cut + 1);
}
