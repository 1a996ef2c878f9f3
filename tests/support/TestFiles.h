#pragma once

#include <QFile>

// The whole file, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file whole; false when it could not be written.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Expected texts kept beside the tests, one to a line; "\n" in a line stands for a line break.
inline QStringList expectedLines(const QString& file) {
    QStringList lines = QString::fromUtf8(fileBytes(QStringLiteral(QT_TESTCASE_SOURCEDIR "/") + file))
                            .split('\n', Qt::SkipEmptyParts);
    for (QString& line : lines)
        line.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return lines;
}
