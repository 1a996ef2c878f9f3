#pragma once

#include <QString>

// The part of a name after its last directory separator, "\" or "/": names written on Windows may
// carry either.
QString lastPathComponent(const QString& name);
