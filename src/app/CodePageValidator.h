#pragma once

#include <QValidator>

// Refuses, at entry, text that an input file could not hold, so nothing is changed silently on saving;
// line breaks become blanks.
class CodePageValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};
