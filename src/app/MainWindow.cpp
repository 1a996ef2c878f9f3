#include "MainWindow.h"

#include "AnswerHintMarker.h"
#include "CodePageValidator.h"
#include "FormTabs.h"
#include "MainMenu.h"
#include "MenuShortcutGuard.h"
#include "TabControl.h"
#include "TipsText.h"
#include "app/layout/LayoutControl.h"
#include "app/layout/TwipGeometry.h"
#include "core/CommandAbandoned.h"
#include "core/ProgramEnded.h"
#include "core/QuestionSet.h"
#include "core/services/MessageBoxes.h"
#include "core/services/Shell.h"
#include "startup/StartUpSequence.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <algorithm>
#include <limits>
#include <vector>

namespace {
constexpr int designClientWidth = 9540;
constexpr int designClientHeight = 6270;
const char* const tabIndexProperty = "tabIndex";
const char* const captionProperty = "caption";

struct DemoRow {
    const char* example;
    const char* runTime;
    int descriptionIndex;
    const char* description;
};

constexpr std::array<DemoRow, 4> demoRows{{
    {"ExNASA.Tod", ".00", 0,
     "Initial values from someone with experience ... nice least-square convergence."},
    {"ExNASA.1", "0.3", 2,
     "Normal starting values, i.e. little experience; results provide better starting values for next run."},
    {"ExNASA.2", "0.1", 3,
     "Second initial values, i.e. some experience; results converge!  Are solution values practical?"},
    {"ExAlpha.1", "0.35", 4,
     "Want arm movement only in one plane for easy understanding ... nogo, ideas why?"},
}};

QString indexed(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

// A caption is kept raw; "&&" is shown as one "&".
QString displayed(const QString& caption) {
    QString text = caption;
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// What a screen reader says for a box: its caption without the number and "»".
QString spokenCaption(const char* caption) {
    const QString text = displayed(QString::fromUtf8(caption));
    return text.mid(text.indexOf(QChar(0x00BB)) + 1).simplified();
}

// The label becomes the box's buddy, which makes it read "&" as an access key: its raw caption, where
// "&&" stands for "&", then shows what it showed before.
void nameBox(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    label->setText(label->property(captionProperty).toString());
}

// The normal text colour: readable on the window's background whatever the desktop theme.
QColor normalLabelColour() {
    return QApplication::palette().color(QPalette::WindowText);
}

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
    for (const char* caption :
         {"&Input Parameters", "Demos", "&Solver Variables", "&Run", "&Tips/Suggestions"})
        ODE_tabs_->addTab(QString::fromUtf8(caption));
    TwipGeometry::setRect(ODE_tabs_, {0, 0, 9500, 6224});

    buildInputTab();
    buildDemosTab();
    buildSolverTab();
    buildRunTab();
    buildTipsTab();
    applyTabOrder();
    guardMenuShortcuts();

    ODE_tabs_->setTabEnabled(DemosTab, false);
    ODE_tabs_->setCurrentIndex(InputTab);
    ODE_tabs_->setControlVisible(cmdPlots_, false);
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

void MainWindow::addControl(int tab, QWidget* control, const QString& name, const QRect& twips,
                            int tabIndex) {
    control->setObjectName(name);
    control->setProperty(tabIndexProperty, tabIndex);
    ODE_tabs_->addControl(tab, control, twips);
    controls_.append(control);
}

QLabel* MainWindow::addLabel(int tab, const QString& name, const QString& caption, const QRect& twips) {
    auto* label = new QLabel(displayed(caption));
    label->setProperty(captionProperty, caption);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addControl(tab, label, name, twips, nextLabelTabIndex_++);
    return label;
}

QLineEdit* MainWindow::addAnswerBox(int tab, const QString& name, const QString& text, const QRect& twips,
                                    int tabIndex) {
    auto* box = new QLineEdit(text);
    // Values are texts of any length; the default limit would cut long ones without a word.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setValidator(new CodePageValidator(box));
    addControl(tab, box, name, twips, tabIndex);
    return box;
}

QPushButton* MainWindow::addButton(int tab, const QString& name, const QString& caption, const QRect& twips,
                                   int tabIndex) {
    auto* button = new QPushButton(caption);
    addControl(tab, button, name, twips, tabIndex);
    return button;
}

void MainWindow::buildInputTab() {
    QLabel* instructions = addLabel(
        InputTab, QStringLiteral("lblInstructions"),
        QStringLiteral("Instructions: Answer following questions; Save your responses into a file for later "
                       "retrieval; and, Submit Run responses for execution."),
        {585, 720, 8625, 495});
    setTextColour(instructions, Qt::blue);
    addLabel(InputTab, QStringLiteral("lblHeader1"), QStringLiteral("Responses"), {600, 1335, 1500, 255});
    addLabel(InputTab, QStringLiteral("lblHeader2"), QStringLiteral("Questions"), {2820, 1335, 2500, 255});
    for (int n = 1; n <= questionCount; ++n) {
        const QuestionRow& row = questionSet[n - 1];
        const int top = 1680 + 300 * (n - 1);
        QLineEdit* box = addAnswerBox(InputTab, QLatin1String(row.box), QString::fromUtf8(row.defaultText),
                                      {120, top, 2112, 360}, row.tabIndex);
        connect(box, &QLineEdit::textChanged, this, &MainWindow::markDataChanged);
        box->installEventFilter(this);
        answerBoxes_[n - 1] = box;
        QLabel* label = addLabel(InputTab, indexed("Question", n - 1), QString::fromUtf8(row.caption),
                                 {2520, top, 6900, 240});
        setTextColour(label, normalLabelColour());
        nameBox(label, box);
        box->setAccessibleName(spokenCaption(row.caption));
        new AnswerHintMarker(box, [expected = row.valuesExpected](const QString& answer) {
            return AnswerHints::forAnswer(answer, expected);
        });
        questionLabels_[n - 1] = label;
    }
    addLabel(InputTab, QStringLiteral("lblKeepNotes"), QStringLiteral("20. » Keep notes below ..."),
             {120, 4320, 4000, 255});
    for (int i = 0; i < 2; ++i) {
        const NoteRow& row = noteSet[i];
        QLineEdit* box = addAnswerBox(InputTab, QLatin1String(row.box), QString::fromUtf8(row.defaultText),
                                      {120, 4590 + 360 * i, 8772, 360}, row.tabIndex);
        box->setToolTip(QString::fromUtf8(row.toolTip));
        box->setAccessibleName(QStringLiteral("Note %1").arg(i + 1));
        connect(box, &QLineEdit::textChanged, this, &MainWindow::markDataChanged);
        box->installEventFilter(this);
        noteBoxes_[i] = box;
    }
}

void MainWindow::buildDemosTab() {
    QLabel* intro = addLabel(
        DemosTab, indexed("lblSentence1", 0),
        QStringLiteral(
            "Select a Tolvik™ example from the list below for your demo run.  Note the approximate run "
            "time for your chosen problem.  (These times were for a 486/500 PC.)  Your demo will be "
            "silent for this run-time period.  When a solution is found, Tolvik™ will then display "
            "your results in an output text file."),
        {240, 600, 9000, 900});
    setTextColour(intro, Qt::blue);
    addLabel(DemosTab, QStringLiteral("lblFileName"), QStringLiteral("File Name"), {240, 1560, 1500, 255});
    addLabel(DemosTab, QStringLiteral("lblRunTime"), QStringLiteral("Run Time (Seconds)"),
             {1800, 1560, 1700, 255});
    addLabel(DemosTab, QStringLiteral("lblDescriptions"), QStringLiteral("Tolvik problem with ..."),
             {3600, 1560, 5600, 255});
    for (int row = 1; row <= 4; ++row) {
        const DemoRow& demo = demoRows[row - 1];
        const int top = 1900 + 480 * (row - 1);
        auto* option = new QRadioButton(QLatin1String(demo.example));
        addControl(DemosTab, option, indexed("Exam", row), {240, top, 1500, 360}, 19 + row);
        demoMode_->addExample(option);
        connect(option, &QRadioButton::clicked, this,
                [this, option] { demoMode_->Exam_Click(option->text()); });
        addLabel(DemosTab, indexed("ExTime", row), QLatin1String(demo.runTime), {1800, top + 60, 1200, 255});
        addLabel(DemosTab, indexed("Description", demo.descriptionIndex), QString::fromUtf8(demo.description),
                 {3600, top + 30, 5600, 450});
    }
    QPushButton* run = addButton(DemosTab, QStringLiteral("cmdRunDemo"), QStringLiteral("&Run Demo"),
                                 {2400, 4200, 1600, 600}, 24);
    run->setToolTip(QStringLiteral("Runs selected example in DOS"));
    connect(run, &QPushButton::clicked, this,
            [this] { runCommand([this] { demoMode_->cmdRunDemo_Click(); }); });
    QPushButton* cancel = addButton(DemosTab, QStringLiteral("cmdCancelDemo"), QStringLiteral("&Cancel"),
                                    {5160, 4200, 1600, 600}, 25);
    cancel->setToolTip(QStringLiteral("Return to main screen"));
    connect(cancel, &QPushButton::clicked, this, [this] { demoMode_->cmdCancelDemo_Click(); });
}

void MainWindow::buildSolverTab() {
    QLabel* title = addLabel(SolverTab, QStringLiteral("lblTitleSolv"), QStringLiteral("Solver variables"),
                             {2400, 600, 4800, 480});
    title->setFont(QFont(QStringLiteral("Arial"), 18));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QLabel* sentence = addLabel(
        SolverTab, indexed("lblSentence1", 1),
        QStringLiteral(
            "For a definition of the following Solver control variables read the 'Manual.pdf' file."),
        {600, 1320, 8400, 300});
    setTextColour(sentence, Qt::blue);
    addLabel(SolverTab, QStringLiteral("Label1"), QStringLiteral("Default Values"), {360, 1920, 1400, 255});
    addLabel(SolverTab, QStringLiteral("Label2"), QStringLiteral("Control Questions"),
             {1900, 1920, 3000, 255});
    const std::array<int, 5> tops{2400, 2760, 3120, 3480, 3840};
    for (int i = 1; i <= 5; ++i) {
        const SolverRow& row = solverSet[i - 1];
        QLineEdit* box = addAnswerBox(SolverTab, QLatin1String(row.box), QString::fromUtf8(row.defaultText),
                                      {480, tops[i - 1], 852, 360}, row.tabIndex);
        box->setToolTip(QLatin1String(row.toolTip));
        box->setAccessibleName(spokenCaption(row.caption));
        new AnswerHintMarker(box, [range = row.range](const QString& value) {
            return AnswerHints::forSolverValue(value, range);
        });
        solverBoxes_[i - 1] = box;
        solverLabels_[i - 1] = addLabel(SolverTab, indexed("SolvQuestion", i), QString::fromUtf8(row.caption),
                                        {1900, tops[i - 1], 7400, 255});
        nameBox(solverLabels_[i - 1], box);
    }
    QPushButton* edit = addButton(SolverTab, QStringLiteral("cmdEditSolverData"),
                                  QStringLiteral("&Edit Defaults"), {2400, 4320, 1600, 600}, 62);
    edit->setToolTip(QStringLiteral("Enters default values for editing"));
    connect(edit, &QPushButton::clicked, this, &MainWindow::cmdEditSolverData_Click);
    QPushButton* clear = addButton(SolverTab, QStringLiteral("cmdDefaultSolverData"),
                                   QStringLiteral("&Use Defaults"), {5160, 4320, 1600, 600}, 63);
    clear->setToolTip(QStringLiteral("Sets all values to blank"));
    connect(clear, &QPushButton::clicked, this, &MainWindow::cmdDefaultSolverData_Click);
}

void MainWindow::buildRunTab() {
    QLabel* submit =
        addLabel(RunTab, QStringLiteral("lblSubmit"),
                 QStringLiteral("'Submit' will run a DOS program using the DOSbox program.  Please "
                                "remember to exit DOSbox by typing  EXIT  !!!"),
                 {1128, 600, 7164, 600});
    setTextColour(submit, Qt::blue);
    tPause_ = new QLineEdit(QStringLiteral("20"));
    addControl(RunTab, tPause_, QStringLiteral("tPause"), {1440, 1920, 372, 372}, 69);
    QLabel* pause =
        addLabel(RunTab, QStringLiteral("pause"),
                 QStringLiteral("WARNING! 'Pause' time for your PC; e.g. 2010 PC=6 (seconds). If a "
                                "problem does NOT execute, increase time; begin time=20."),
                 {2160, 1800, 2295, 855});
    // Five lines must fit the label's design height whatever font stands in for Arial.
    pause->setFont(QFont(QStringLiteral("Arial"), 7));
    nameBox(pause, tPause_);
    tPause_->setAccessibleName(pause->text());
    AutoExit_ = new QCheckBox(QStringLiteral("Auto-exit DOSbox"));
    AutoExit_->setChecked(true);
    addControl(RunTab, AutoExit_, QStringLiteral("AutoExit"), {4920, 1440, 2200, 300}, 67);
    const QString submitTip = QStringLiteral("Run Tolvik in DOS with your Input file");
    cmdSubmit_ = addButton(RunTab, QStringLiteral("cmdSubmit"), QStringLiteral("Submit &Run"),
                           {4920, 1920, 1600, 600}, 27);
    cmdSubmit_->setToolTip(submitTip);
    connect(cmdSubmit_, &QPushButton::clicked, this, [this] { runCommand([this] { cmdSubmit_Click(); }); });
    cmdPlots_ = addButton(RunTab, QStringLiteral("cmdPlots"), QStringLiteral("View Previous Plot"),
                          {3840, 3720, 1600, 600}, 68);
    cmdPlots_->setToolTip(submitTip);
}

void MainWindow::buildTipsTab() {
    // Filled when its tab is first shown: laying the text out is the dearest part of building the window.
    RichTextBox1_ = new QTextEdit;
    RichTextBox1_->setReadOnly(true);
    RichTextBox1_->setAccessibleName(QStringLiteral("Tips and suggestions"));
    RichTextBox1_->setLineWrapMode(QTextEdit::FixedPixelWidth);
    addControl(TipsTab, RichTextBox1_, QStringLiteral("RichTextBox1"), {240, 360, 9000, 5712}, 65);
    RichTextBox1_->setLineWrapColumnOrWidth(TwipGeometry::toPixels(this, 9000 - 650));
}

void MainWindow::applyTabOrder() {
    QList<QWidget*> ordered;
    for (QObject* control : std::as_const(controls_))
        if (auto* widget = qobject_cast<QWidget*>(control); widget && widget->focusPolicy() != Qt::NoFocus)
            ordered.append(widget);
    std::stable_sort(ordered.begin(), ordered.end(), [](const QWidget* a, const QWidget* b) {
        return a->property(tabIndexProperty).toInt() < b->property(tabIndexProperty).toInt();
    });
    for (qsizetype i = 1; i < ordered.size(); ++i)
        setTabOrder(ordered[i - 1], ordered[i]);
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

void MainWindow::PutAnswers() {
    AnswerSet& record = state_.answers;
    if (state_.RunMode != QLatin1String("Demo"))
        record.DataName = state_.FileName;
    for (int n = 0; n < questionCount; ++n)
        record.Answers[n] = answerBoxes_[n]->text();
    record.Note1 = noteBoxes_[0]->text();
    record.Note2 = noteBoxes_[1]->text();
    for (int i = 0; i < 5; ++i)
        record.SolverVars.*solverVariableOrder[i] = solverBoxes_[i]->text();
}

void MainWindow::GetAnswers() {
    const AnswerSet& record = state_.answers;
    for (int n = 0; n < questionCount; ++n)
        answerBoxes_[n]->setText(record.Answers[n]);
    noteBoxes_[0]->setText(record.Note1);
    noteBoxes_[1]->setText(record.Note2);
    for (int i = 0; i < 5; ++i)
        solverBoxes_[i]->setText(record.SolverVars.*solverVariableOrder[i]);
    const QString steering = solverBoxes_[0]->text() + solverBoxes_[2]->text() + solverBoxes_[4]->text();
    SetSolverBoxesEnabled(!steering.isEmpty());
}

bool MainWindow::MarkMissingAnswers() {
    PutAnswers();
    bool complete = true;
    for (int n = 0; n < questionCount; ++n) {
        const QString& answer = state_.answers.Answers[n];
        const bool missing = answer.isEmpty() || answer == QLatin1String("-Select-");
        setTextColour(questionLabels_[n], missing ? QColor(255, 0, 0) : normalLabelColour());
        complete = complete && !missing;
    }
    return complete;
}

bool MainWindow::isCompleteTest() {
    if (MarkMissingAnswers())
        return true;
    services_.messages.show(QStringLiteral("Missing some data fields"),
                            QStringLiteral("Some fields are Blank, please fill them and submit again"),
                            MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    return false;
}

// Boxes of a hidden tab stay off whatever the answers say: only the shown tab's controls are on.
void MainWindow::SetSolverBoxesEnabled(bool enabled) {
    for (QLineEdit* box : solverBoxes_)
        box->setEnabled(enabled && TwipGeometry::rect(box).left() >= hiddenLeftLimit);
}

void MainWindow::ClearSolverBoxes() {
    for (QLineEdit* box : solverBoxes_)
        box->clear();
    SetSolverBoxesEnabled(false);
}

void MainWindow::cmdDefaultSolverData_Click() {
    ClearSolverBoxes();
}

void MainWindow::cmdEditSolverData_Click() {
    for (int i = 0; i < 5; ++i)
        solverBoxes_[i]->setText(QString::fromUtf8(solverSet[i].editValue));
    SetSolverBoxesEnabled(true);
}

void MainWindow::ShowFilename() {
    const QString program = QStringLiteral("Tolvik™, a Calculus-level program");
    setWindowTitle(state_.FileName.isEmpty() ? program : state_.FileName + QStringLiteral(" ... ") + program);
}

QString MainWindow::questionCaption(int n) const {
    return questionLabels_[n - 1]->property(captionProperty).toString();
}

QString MainWindow::solverCaption(int i) const {
    return solverLabels_[i - 1]->property(captionProperty).toString();
}

QString MainWindow::pauseTimeText() const {
    return tPause_->text();
}

void MainWindow::setPauseTimeText(const QString& text) {
    tPause_->setText(text);
}

bool MainWindow::autoExitChecked() const {
    return AutoExit_->isChecked();
}

// Off while its tab is hidden: showing the tab turns it on.
void MainWindow::enableSubmitRun() {
    cmdSubmit_->setEnabled(ODE_tabs_->tabOf(cmdSubmit_) == ODE_tabs_->currentIndex());
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
    FocusCurrentTab(ODE_tabs_);
    FitTipsText();
}

void MainWindow::FocusCurrentTab(TabControl* tabs) {
    int lowest = 99999;
    for (QObject* control : std::as_const(controls_)) {
        auto* widget = qobject_cast<QWidget*>(control);
        if (!widget || widget->parentWidget() != tabs ||
            widget->objectName().startsWith(QLatin1String("mnu")))
            continue;
        if (TwipGeometry::rect(widget).left() < hiddenLeftLimit) {
            widget->setEnabled(false);
            continue;
        }
        widget->setEnabled(true);
        const int tabIndex = widget->property(tabIndexProperty).toInt();
        if (tabIndex < lowest) {
            lowest = tabIndex;
            // Labels and hidden controls cannot take the focus; they still count for the lowest index.
            if (widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(this))
                widget->setFocus();
        }
    }
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
