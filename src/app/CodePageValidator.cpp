#include "CodePageValidator.h"

#include "files/Blanks.h"
#include "platform/TextEncoding.h"

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    input = withoutLineBreaks(input);
    return TextEncoding::fitsCodePage(input) ? Acceptable : Invalid;
}
