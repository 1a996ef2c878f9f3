#include "InstallPaths.h"

#include <QDir>

QString InstallPaths::resolve(const QString& dir, const QString& name) {
    const QDir directory(dir);
    if (!directory.exists(name)) {
        const QStringList entries =
            directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return dir + QLatin1Char('/') + entry;
    }
    return dir + QLatin1Char('/') + name;
}
