#include "CodePageValidator.h"

#include "core/TextEncoding.h"
#include "files/Blanks.h"

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    input = withoutLineBreaks(input);
    return TextEncoding::fitsCodePage(input) ? Acceptable : Invalid;
}
