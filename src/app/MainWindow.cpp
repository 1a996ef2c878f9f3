#include "MainWindow.h"

#include "FormTabs.h"
#include "MainMenu.h"
#include "MenuShortcutGuard.h"
#include "TabControl.h"
#include "TipsText.h"
#include "app/layout/TwipGeometry.h"
#include "core/CommandAbandoned.h"
#include "core/ProgramEnded.h"
#include "core/services/Shell.h"
#include "startup/StartUpSequence.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <algorithm>

namespace {
constexpr int designClientWidth = 9540;
constexpr int designClientHeight = 6270;

// A white T on blue, drawn without a font: loading one only for the icon would slow the first window.
QIcon programIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0, 64, 160));
    QPainter painter(&pixmap);
    painter.fillRect(7, 6, 18, 5, Qt::white);
    painter.fillRect(13, 6, 6, 20, Qt::white);
    return QIcon(pixmap);
}
} // namespace

MainWindow::MainWindow(ProgramState& state, AppServices services, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services), CMDialog1_(services.fileDialogs),
      modules_(state, *this, services,
               [this] {
                   unloaded_ = true;
                   close();
               }),
      help_({this, state, services.shell, services.messages, modules_.editor,
             modules_.paths.programDirectory(), [this](const QString& link) { return mailto(link); }}) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tolvik, a Calculus-level Software"));
    setWindowIcon(programIcon());
    setFont(QFont(QStringLiteral("Arial"), 8));

    MainMenu::build(menuBar(), controls_);
    connectFileMenu();
    connectHelpMenus();
    clientArea_ = new QWidget(this);
    setCentralWidget(clientArea_);
    clientArea_->installEventFilter(this);
    auto* canvas = new QWidget(clientArea_);
    canvas->setObjectName(QStringLiteral("picCanvas"));
    TwipGeometry::setRect(canvas, {0, 0, 9500, 6224});
    ODE_tabs_ = new TabControl(canvas);
    ODE_tabs_->setObjectName(QStringLiteral("ODE_tabs"));
    controls_ << canvas << ODE_tabs_;
    QList<QAction*> topMenus;
    for (const char* name : {"mnuFile", "mnuDemos", "mnuView", "mnuWeb", "mnuHelp"})
        topMenus << findChild<QAction*>(QLatin1String(name));
    demoMode_ = std::make_unique<DemoMode>(
        state_, DemoMode::Parts{ODE_tabs_, topMenus, modules_.commands, modules_.run});
    const FormDesign::Widgets form = FormDesign(ODE_tabs_, controls_).build();
    RichTextBox1_ = form.RichTextBox1;
    answers_ = std::make_unique<FormAnswers>(state_, services_.messages, ODE_tabs_, form);
    wireControls(form);
    ODE_tabs_->applyTabOrder();
    guardMenuShortcuts();

    ODE_tabs_->setTabEnabled(DemosTab, false);
    ODE_tabs_->setCurrentIndex(InputTab);
    ODE_tabs_->addKeyboardNavigation(this);
    connect(ODE_tabs_, &TabControl::currentChanged, this, &MainWindow::ODE_tabs_Click);
    // From the start only the shown tab's controls are on, as after every tab change; typing starts in
    // the first answer, as the lowest tab index says.
    ODE_tabs_Click();

    const int menuHeight = menuBar()->sizeHint().height();
    resize(TwipGeometry::toPixels(this, designClientWidth),
           TwipGeometry::toPixels(this, designClientHeight) + menuHeight);
    // The client area takes its design size now, not at the first show: the layout is captured first.
    layout()->activate();
    layoutWindow_ = std::make_unique<WidgetLayoutWindow>(clientArea_, controls_);
}

void MainWindow::connectFileMenu() {
    connectMenu("mnuFileNew", [this] { modules_.commands.FileNew(); });
    connectMenu("mnuFileOpen", [this] {
        modules_.commands.FileOld();
        state_.SaveFailed = false;
        MarkMissingAnswers();
    });
    connectMenu("mnuFileSave", [this] {
        modules_.commands.FileSave();
        state_.SaveFailed = false;
    });
    connectMenu("mnuFileSaveAs", [this] {
        modules_.commands.FileSaveAs();
        state_.SaveFailed = false;
    });
    connectMenu("mnuFileDelete", [this] { modules_.commands.FileDelete(); });
    connectMenu("mnuFileExit", [this] { modules_.end.EndProgram(); });
    connectMenu("mnuFileSubmit", [this] { cmdSubmit_Click(); });
    connectMenu("mnuDemosRun", [this] { demoMode_->mnuDemosRun_Click(); });
    connectMenu("mnuViewDemos", [this] { modules_.examples.ViewExampleFile(); });
    connectMenu("mnuViewOutput", [this] { modules_.output.ViewLastOutput(QStringLiteral("~Tolvik.out")); });
}

void MainWindow::connectHelpMenus() {
    for (QAction* entry : findChildren<QAction*>())
        if (const QString address = entry->data().toString(); !address.isEmpty())
            connect(entry, &QAction::triggered, this, [this, address] { help_.openWebPage(address); });
    connectMenu("mnuHelpManual", [this] { help_.mnuHelpManual_Click(); });
    connectMenu("mnuHelpSource", [this] { help_.mnuHelpSource_Click(); });
    connectMenu("mnuHelpDonate", [this] { help_.mnuHelpDonate_Click(); });
    connectMenu("mnuHelpAbout", [this] { help_.mnuHelpAbout_Click(); });
    connectMenu("mnuHelpEmail", [this] { help_.mnuHelpEmail_Click(); });
}

// Blanks become "%20"; everything else reaches the mail program as it is. The result follows the
// shell's convention: above 32 means the link was handed on.
std::int16_t MainWindow::mailto(const QString& link) {
    QString target = link;
    target.replace(QLatin1Char(' '), QStringLiteral("%20"));
    return services_.shell.openDocument(target) ? 42 : 31;
}

void MainWindow::cmdSubmit_Click() {
    if (isCompleteTest())
        modules_.run.submit();
}

void MainWindow::connectMenu(const char* name, const std::function<void()>& handler) {
    auto* action = findChild<QAction*>(QLatin1String(name));
    connect(action, &QAction::triggered, this, [this, handler] { runCommand(handler); });
}

// Every entry point runs its routine through here. When the routine ends the program, the count is
// saved and the windows are closed by then: nothing is left to do but to stop unwinding.
void MainWindow::runCommand(const std::function<void()>& routine) {
    services_.store.commandStarted();
    try {
        routine();
    } catch (const ProgramEnded&) {
    } catch (const CommandAbandoned&) {
    }
}

void MainWindow::wireControls(const FormDesign::Widgets& form) {
    const auto wireBox = [this](QLineEdit* box) {
        connect(box, &QLineEdit::textChanged, this, &MainWindow::markDataChanged);
        box->installEventFilter(this);
    };
    std::ranges::for_each(form.answerBoxes, wireBox);
    std::ranges::for_each(form.noteBoxes, wireBox);
    for (QRadioButton* option : form.examples) {
        demoMode_->addExample(option);
        connect(option, &QRadioButton::clicked, this,
                [this, option] { demoMode_->Exam_Click(option->text()); });
    }
    connect(form.cmdRunDemo, &QPushButton::clicked, this,
            [this] { runCommand([this] { demoMode_->cmdRunDemo_Click(); }); });
    connect(form.cmdCancelDemo, &QPushButton::clicked, this, [this] { demoMode_->cmdCancelDemo_Click(); });
    connect(form.cmdEditSolverData, &QPushButton::clicked, this,
            [this] { answers_->cmdEditSolverData_Click(); });
    connect(form.cmdDefaultSolverData, &QPushButton::clicked, this,
            [this] { answers_->cmdDefaultSolverData_Click(); });
    connect(form.cmdSubmit, &QPushButton::clicked, this,
            [this] { runCommand([this] { cmdSubmit_Click(); }); });
}

void MainWindow::guardMenuShortcuts() {
    QList<QAction*> entries;
    QList<QWidget*> widgets;
    for (QObject* control : std::as_const(controls_)) {
        if (auto* entry = qobject_cast<QAction*>(control); entry && !entry->shortcut().isEmpty())
            entries.append(entry);
        else if (auto* widget = qobject_cast<QWidget*>(control))
            widgets.append(widget);
    }
    auto* guard = new MenuShortcutGuard(entries, this);
    for (QWidget* widget : std::as_const(widgets))
        widget->installEventFilter(guard);
}

void MainWindow::markDataChanged() {
    state_.DataChanged = true;
}

// Answer and note boxes select their whole text on gaining the focus, so typing replaces it. Deferred,
// because a mouse click that brought the focus would otherwise place the cursor afterwards.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == clientArea_) {
        if (event->type() == QEvent::Resize)
            Form_Resize();
    } else if (event->type() == QEvent::FocusIn) {
        auto* box = static_cast<QLineEdit*>(watched);
        QMetaObject::invokeMethod(
            box, [box] { box->setSelection(0, 9999); }, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ShowFilename() {
    const QString program = QStringLiteral("Tolvik™, a Calculus-level program");
    setWindowTitle(state_.FileName.isEmpty() ? program : state_.FileName + QStringLiteral(" ... ") + program);
}

void MainWindow::CaptureLayout() {
    layout_.CaptureLayout(*layoutWindow_);
}

// Every resize of the client area, a restore from the task bar included.
void MainWindow::Form_Resize() {
    layout_.ScaleLayout(*layoutWindow_);
    FitTipsText();
}

void MainWindow::ODE_tabs_Click() {
    ODE_tabs_->FocusCurrentTab();
    FitTipsText();
}

void MainWindow::FitTipsText() {
    if (ODE_tabs_->currentIndex() != TipsTab)
        return;
    if (RichTextBox1_->document()->isEmpty())
        RichTextBox1_->setHtml(tipsTextHtml());
    const int outerWidth = TwipGeometry::toTwips(this, frameGeometry().width());
    const int outerHeight = TwipGeometry::toTwips(this, frameGeometry().height());
    const int width = outerWidth > 10000 ? outerWidth - 2650 : outerWidth - 650;
    TwipGeometry::setWidth(RichTextBox1_, width);
    RichTextBox1_->setLineWrapColumnOrWidth(TwipGeometry::toPixels(this, width - 650));
    TwipGeometry::setHeight(RichTextBox1_, outerHeight - 1200);
    RichTextBox1_->setFocus();
}

// A close that comes from the window system is the user's close box (or its menu or key); the
// program's own closes (the end of the program, an unload) are not.
void MainWindow::closeEvent(QCloseEvent* event) {
    Form_QueryUnload(event->spontaneous() ? CloseReason::CloseBox : CloseReason::Program);
    event->accept();
}

// Only the user's close ends the program and counts a run; the close is never cancelled.
void MainWindow::Form_QueryUnload(CloseReason reason) {
    if (reason == CloseReason::CloseBox)
        runCommand([this] { modules_.end.EndProgram(); });
}

void MainWindow::Form_Load() {
    runCommand(
        [this] { StartUpSequence(state_, *this, modules_, services_, [this] { CaptureLayout(); }).run(); });
}
