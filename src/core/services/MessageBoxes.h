#pragma once

#include <QString>

// Modal message boxes. The Qt implementation shows a QMessageBox; tests script the answers.
class MessageBoxes {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) = 0;
};
