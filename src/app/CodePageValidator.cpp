#include "CodePageValidator.h"

#include "platform/TextEncoding.h"

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    // An item is one line of the input file: a pasted line break becomes a blank.
    input.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return TextEncoding::fitsCodePage(input) ? Acceptable : Invalid;
}
