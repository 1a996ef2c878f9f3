#pragma once

#include "InfoDialog.h"
#include "core/GuardedSteps.h"

#include <cstdint>
#include <functional>

class MessageBoxes;
class QPlainTextEdit;
struct ProgramState;

// frmEmail: how to write to the maker, and a button that opens a prepared mail.
class EmailDialog : public InfoDialog {
public:
    struct Services {
        MessageBoxes& messages;
        const ProgramState& state;
        QString programDirectory;
        // The main window's mailto; its result is not looked at.
        std::function<std::int16_t(const QString&)> mailto;
    };

    EmailDialog(QWidget* owner, Services services);

private:
    void Form_Load();
    StepOutcome handleLoadFailure(const Failure& failure);
    void cmdEmail_Click();

    Services services_;
    QPlainTextEdit* Text2_ = nullptr;
    QPlainTextEdit* Text5_ = nullptr;
};
