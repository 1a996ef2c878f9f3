#pragma once

#include <QString>

class CommonDialog;

// What the modules need of the main window; the window implements it.
class Form {
public:
    virtual ~Form() = default;

    virtual void PutAnswers() = 0;
    virtual void GetAnswers() = 0;
    virtual bool MarkMissingAnswers() = 0;
    virtual void ShowFilename() = 0;

    // Raw captions, "&&" included, of question n (1..questionCount) and solver variable i (1..5).
    virtual QString questionCaption(int n) const = 0;
    virtual QString solverCaption(int i) const = 0;

    virtual QString pauseTimeText() const = 0;
    virtual void setPauseTimeText(const QString& text) = 0;
    virtual bool autoExitChecked() const = 0;
    virtual void enableSubmitRun() = 0;

    virtual CommonDialog& fileDialog() = 0;
};
