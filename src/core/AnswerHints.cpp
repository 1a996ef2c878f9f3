#include "AnswerHints.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace {
QStringList tokens(const QString& text) {
    return text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A long token is quoted by its start only: the hint is read out and shown as a tooltip.
QString notANumber(const QStringList& values) {
    constexpr qsizetype quoted = 20;
    for (const QString& value : values)
        if (!AnswerHints::isNumber(value))
            return QStringLiteral("'%1' is not a number")
                .arg(value.size() > quoted ? value.left(quoted) + QChar(0x2026) : value);
    return {};
}

double valueOf(const QString& number) {
    QString text = number;
    return text.replace(QLatin1Char('d'), QLatin1Char('e'), Qt::CaseInsensitive).toDouble();
}

// A whole number the solver can count with.
bool whole(double value) {
    return std::isfinite(value) && std::floor(value) == value && value <= 2147483647.0;
}

bool fits(double value, AnswerHints::Range range) {
    using Range = AnswerHints::Range;
    switch (range) {
    case Range::WholeFromOne:
        return value >= 1 && whole(value);
    case Range::WholeFromZero:
        return value >= 0 && whole(value);
    case Range::AboveZero:
        return value > 0 && std::isfinite(value);
    case Range::AboveZeroUpToOne:
        return value > 0 && value <= 1;
    }
    return true;
}

QString rangeText(AnswerHints::Range range) {
    using Range = AnswerHints::Range;
    switch (range) {
    case Range::WholeFromOne:
        return QStringLiteral("a whole number of 1 or more expected");
    case Range::WholeFromZero:
        return QStringLiteral("a whole number of 0 or more expected");
    case Range::AboveZero:
        return QStringLiteral("a number above 0 expected");
    case Range::AboveZeroUpToOne:
        return QStringLiteral("a number above 0 and at most 1 expected");
    }
    return {};
}

QString countText(int expected, qsizetype given) {
    return QStringLiteral("%1 %2 expected, %3 given")
        .arg(expected)
        .arg(expected == 1 ? QStringLiteral("number") : QStringLiteral("numbers"))
        .arg(given);
}
} // namespace

bool AnswerHints::isNumber(const QString& token) {
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?$)"));
    return number.match(token).hasMatch();
}

QString AnswerHints::forAnswer(const QString& answer, int expected) {
    const QStringList values = tokens(answer);
    // Blanks pass for an answer but are written as no value at all.
    if (values.isEmpty())
        return answer.isEmpty() ? QString() : countText(expected, 0);
    if (const QString wrong = notANumber(values); !wrong.isEmpty())
        return wrong;
    return values.size() == expected ? QString() : countText(expected, values.size());
}

QString AnswerHints::forSolverValue(const QString& value, Range range) {
    const QStringList values = tokens(value);
    if (values.isEmpty())
        return {};
    if (const QString wrong = notANumber(values); !wrong.isEmpty())
        return wrong;
    if (values.size() != 1)
        return countText(1, values.size());
    return fits(valueOf(values.first()), range) ? QString() : rangeText(range);
}
