#include "DemoMode.h"

#include "FormTabs.h"
#include "TabControl.h"
#include "core/ProgramState.h"
#include "files/FileCommands.h"
#include "run/RunSubmission.h"

#include <QAbstractButton>
#include <QAction>

void DemoMode::mnuDemosRun_Click() {
    if (parts_.commands.AskSaveChanges(state_.DataChanged))
        return;
    state_.fileTemp = QStringLiteral("ExNASA.Tod");
    setMenusEnabled(false);
    TabControl* tabs = parts_.tabs;
    tabs->setTabEnabled(InputTab, false);
    tabs->setTabEnabled(DemosTab, true);
    tabs->setCurrentIndex(DemosTab);
    tabs->setTabEnabled(SolverTab, false);
    tabs->setTabEnabled(RunTab, false);
}

void DemoMode::cmdCancelDemo_Click() {
    state_.DemoFile.clear();
    clearExamples();
    TabControl* tabs = parts_.tabs;
    tabs->setTabEnabled(InputTab, true);
    tabs->setTabEnabled(DemosTab, false);
    tabs->setCurrentIndex(InputTab);
    tabs->setTabEnabled(SolverTab, true);
    tabs->setTabEnabled(RunTab, true);
    setMenusEnabled(true);
}

void DemoMode::Exam_Click(const QString& caption) {
    state_.DemoFile = caption + QStringLiteral(".Tolv");
}

void DemoMode::cmdRunDemo_Click() {
    parts_.run.runDemo();
}

// An option left set would show an example as chosen while none is.
void DemoMode::clearExamples() {
    for (QAbstractButton* option : std::as_const(examples_)) {
        // Options of one group cannot all be off while they exclude each other.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

void DemoMode::setMenusEnabled(bool enabled) {
    for (QAction* menu : std::as_const(parts_.menus))
        menu->setEnabled(enabled);
}
