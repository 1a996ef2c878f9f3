#pragma once

#include <QByteArray>
#include <QString>

// The whole file, or nothing when it cannot be read.
QByteArray fileBytes(const QString& path);
// Writes the file whole; false when it could not be written.
bool writeFile(const QString& path, const QByteArray& bytes);
