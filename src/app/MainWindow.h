#pragma once

#include "DemoMode.h"
#include "HelpCommands.h"
#include "app/layout/LayoutScaler.h"
#include "app/layout/WidgetLayoutWindow.h"
#include "core/ProgramState.h"
#include "core/services/AppServices.h"
#include "core/services/Form.h"
#include "files/CommonDialog.h"
#include "startup/ProgramModules.h"

#include <QList>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class TabControl;

// frmMain: the program's one main window.
class MainWindow : public QMainWindow, public Form {
    Q_OBJECT
public:
    MainWindow(ProgramState& state, AppServices services, QWidget* parent = nullptr);

    void PutAnswers() override;
    void GetAnswers() override;
    bool MarkMissingAnswers() override;
    void ShowFilename() override;
    QString questionCaption(int n) const override;
    QString solverCaption(int i) const override;
    QString pauseTimeText() const override;
    void setPauseTimeText(const QString& text) override;
    bool autoExitChecked() const override;
    void enableSubmitRun() override;
    CommonDialog& fileDialog() override { return CMDialog1_; }
    FileCommands& fileCommands() { return modules_.commands; }

    bool isCompleteTest();
    // Opens a mail link in the user's mail program; above 32 when it was handed on.
    std::int16_t mailto(const QString& link);
    // The start-up sequence; the window is shown afterwards unless it ended the program or was unloaded.
    void Form_Load();
    bool programEnded() const { return modules_.end.ended(); }
    bool unloaded() const { return unloaded_; }
    // Records the layout that every resize keeps in proportion.
    void CaptureLayout();

    TabControl* tabs() const { return ODE_tabs_; }

    // Every control in the window's control order, menu entries included.
    const QList<QObject*>& controls() const { return controls_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class CloseReason { CloseBox, Program };

    void buildInputTab();
    void buildDemosTab();
    void buildSolverTab();
    void buildRunTab();
    void buildTipsTab();
    void applyTabOrder();

    QLabel* addLabel(int tab, const QString& name, const QString& caption, const QRect& twips);
    QLineEdit* addAnswerBox(int tab, const QString& name, const QString& text, const QRect& twips,
                            int tabIndex);
    QPushButton* addButton(int tab, const QString& name, const QString& caption, const QRect& twips,
                           int tabIndex);
    void addControl(int tab, QWidget* control, const QString& name, const QRect& twips, int tabIndex);
    void connectMenu(const char* name, const std::function<void()>& handler);

    void Form_Resize();
    void ODE_tabs_Click();
    void FocusCurrentTab(TabControl* tabs);
    void FitTipsText();
    void SetSolverBoxesEnabled(bool enabled);
    void ClearSolverBoxes();
    void cmdDefaultSolverData_Click();
    void cmdEditSolverData_Click();
    void markDataChanged();
    void connectFileMenu();
    void connectHelpMenus();
    void guardMenuShortcuts();
    void cmdSubmit_Click();
    void runCommand(const std::function<void()>& routine);
    void Form_QueryUnload(CloseReason reason);

    ProgramState& state_;
    AppServices services_;
    CommonDialog CMDialog1_;
    ProgramModules modules_;
    HelpCommands help_;
    QWidget* clientArea_ = nullptr;
    TabControl* ODE_tabs_ = nullptr;
    std::array<QLineEdit*, questionCount> answerBoxes_{};
    std::array<QLabel*, questionCount> questionLabels_{};
    std::array<QLineEdit*, 2> noteBoxes_{};
    std::array<QLineEdit*, 5> solverBoxes_{};
    std::array<QLabel*, 5> solverLabels_{};
    QLineEdit* tPause_ = nullptr;
    QCheckBox* AutoExit_ = nullptr;
    QPushButton* cmdSubmit_ = nullptr;
    QPushButton* cmdPlots_ = nullptr;
    QTextEdit* RichTextBox1_ = nullptr;
    QList<QObject*> controls_;
    std::unique_ptr<DemoMode> demoMode_;
    std::unique_ptr<WidgetLayoutWindow> layoutWindow_;
    LayoutScaler layout_;
    int nextLabelTabIndex_ = 70;
    bool unloaded_ = false;
};
