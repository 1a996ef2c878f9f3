#include "Failure.h"

QString formatErrorNumber(int number) {
    return number < 0 ? QString::number(number) : QStringLiteral(" ") + QString::number(number);
}

QString unexpectedErrorText(const Failure& failure) {
    return QStringLiteral("Unexpected error #") + formatErrorNumber(failure.number) +
           QStringLiteral(" occured: ") + failure.description;
}
