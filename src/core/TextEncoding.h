#pragma once

#include <QByteArray>
#include <QString>

// Input files and the settings of other programs speak Windows-1252.
namespace TextEncoding {
// True when every character has a Windows-1252 byte of its own.
bool fitsCodePage(const QString& text);
// Callers check fitsCodePage first: a character the code page lacks would not survive.
QByteArray toCodePage(const QString& text);
QString fromCodePage(const QByteArray& bytes);
} // namespace TextEncoding
