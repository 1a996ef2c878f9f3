#include "CodePageValidator.h"

#include "platform/TextEncoding.h"

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    return TextEncoding::fitsCodePage(input) ? Acceptable : Invalid;
}
