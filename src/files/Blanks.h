#pragma once

#include <QString>

// The text without leading and trailing spaces; TABs and other white space stay.
QString withoutBlanks(const QString& text);
