#pragma once

#include <QList>

class FileCommands;
class QAbstractButton;
class QAction;
class RunSubmission;
class TabControl;
struct ProgramState;

// The example panel's mode: the menus are off and only the panel and the tips can be chosen until
// Cancel.
class DemoMode {
public:
    struct Parts {
        TabControl* tabs;
        QList<QAction*> menus; // File, Demos, View, Web Links and Help
        FileCommands& commands;
        RunSubmission& run;
    };

    DemoMode(ProgramState& state, Parts parts) : state_(state), parts_(parts) {}

    // An option of the example panel, cleared with the chosen example on Cancel.
    void addExample(QAbstractButton* option) { examples_.append(option); }

    void mnuDemosRun_Click();
    void cmdCancelDemo_Click();
    // The caption of the chosen option, with the extension of input files.
    void Exam_Click(const QString& caption);
    void cmdRunDemo_Click();

private:
    void setMenusEnabled(bool enabled);

    void clearExamples();

    ProgramState& state_;
    Parts parts_;
    QList<QAbstractButton*> examples_;
};
