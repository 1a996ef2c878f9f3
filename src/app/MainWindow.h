#pragma once

#include "DemoMode.h"
#include "FormAnswers.h"
#include "FormDesign.h"
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

#include <cstdint>
#include <functional>
#include <memory>

class QTextEdit;
class TabControl;

// frmMain: the program's one main window.
class MainWindow : public QMainWindow, public Form {
    Q_OBJECT
public:
    MainWindow(ProgramState& state, AppServices services, QWidget* parent = nullptr);

    void PutAnswers() override { answers_->PutAnswers(); }
    void GetAnswers() override { answers_->GetAnswers(); }
    bool MarkMissingAnswers() override { return answers_->MarkMissingAnswers(); }
    void ShowFilename() override;
    QString questionCaption(int n) const override { return answers_->questionCaption(n); }
    QString solverCaption(int i) const override { return answers_->solverCaption(i); }
    QString pauseTimeText() const override { return answers_->pauseTimeText(); }
    void setPauseTimeText(const QString& text) override { answers_->setPauseTimeText(text); }
    bool autoExitChecked() const override { return answers_->autoExitChecked(); }
    void enableSubmitRun() override { answers_->enableSubmitRun(); }
    CommonDialog& fileDialog() override { return CMDialog1_; }
    FileCommands& fileCommands() { return modules_.commands; }

    bool isCompleteTest() { return answers_->isCompleteTest(); }
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

    void wireControls(const FormDesign::Widgets& form);
    void connectMenu(const char* name, const std::function<void()>& handler);

    void Form_Resize();
    void ODE_tabs_Click();
    void FitTipsText();
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
    QTextEdit* RichTextBox1_ = nullptr;
    QList<QObject*> controls_;
    std::unique_ptr<DemoMode> demoMode_;
    std::unique_ptr<FormAnswers> answers_;
    std::unique_ptr<WidgetLayoutWindow> layoutWindow_;
    LayoutScaler layout_;
    bool unloaded_ = false;
};
