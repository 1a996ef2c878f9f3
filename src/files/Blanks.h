#pragma once

#include <QString>

// The text without leading and trailing spaces; TABs and other white space stay.
QString withoutBlanks(const QString& text);

// The text with every CR and LF turned into a blank: an item of an input file is one line.
QString withoutLineBreaks(QString text);
