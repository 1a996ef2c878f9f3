#include "FormDesign.h"

#include "AnswerHintMarker.h"
#include "CodePageValidator.h"
#include "FormTabs.h"
#include "TabControl.h"
#include "app/layout/TwipGeometry.h"
#include "core/QuestionSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <limits>

namespace {
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

// What a screen reader says for a box: its caption without the number and "»".
QString spokenCaption(const char* caption) {
    const QString text = displayed(QString::fromUtf8(caption));
    return text.mid(text.indexOf(QChar(0x00BB)) + 1).simplified();
}

// The label becomes the box's buddy, which makes it read "&" as an access key: its raw caption, where
// "&&" stands for "&", then shows what it showed before.
void nameBox(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    label->setText(FormDesign::caption(label));
}
} // namespace

FormDesign::Widgets FormDesign::build() {
    for (const char* caption :
         {"&Input Parameters", "Demos", "&Solver Variables", "&Run", "&Tips/Suggestions"})
        tabs_->addTab(QString::fromUtf8(caption));
    TwipGeometry::setRect(tabs_, {0, 0, 9500, 6224});
    buildInputTab();
    buildDemosTab();
    buildSolverTab();
    buildRunTab();
    buildTipsTab();
    return widgets_;
}

QString FormDesign::caption(const QLabel* label) {
    return label->property(captionProperty).toString();
}

void FormDesign::setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor FormDesign::normalLabelColour() {
    return QApplication::palette().color(QPalette::WindowText);
}

void FormDesign::addControl(int tab, QWidget* control, const QString& name, const QRect& twips,
                            int tabIndex) {
    control->setObjectName(name);
    tabs_->addControl(tab, control, twips, tabIndex);
    controls_.append(control);
}

QLabel* FormDesign::addLabel(int tab, const QString& name, const QString& caption, const QRect& twips) {
    auto* label = new QLabel(displayed(caption));
    label->setProperty(captionProperty, caption);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addControl(tab, label, name, twips, nextLabelTabIndex_++);
    return label;
}

QLineEdit* FormDesign::addAnswerBox(int tab, const QString& name, const QString& text, const QRect& twips,
                                    int tabIndex) {
    auto* box = new QLineEdit(text);
    // Values are texts of any length; the default limit would cut long ones without a word.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setValidator(new CodePageValidator(box));
    addControl(tab, box, name, twips, tabIndex);
    return box;
}

QPushButton* FormDesign::addButton(int tab, const QString& name, const QString& caption, const QRect& twips,
                                   int tabIndex) {
    auto* button = new QPushButton(caption);
    addControl(tab, button, name, twips, tabIndex);
    return button;
}

void FormDesign::buildInputTab() {
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
        widgets_.answerBoxes[n - 1] = box;
        QLabel* label = addLabel(InputTab, indexed("Question", n - 1), QString::fromUtf8(row.caption),
                                 {2520, top, 6900, 240});
        setTextColour(label, normalLabelColour());
        nameBox(label, box);
        box->setAccessibleName(spokenCaption(row.caption));
        new AnswerHintMarker(box, [expected = row.valuesExpected](const QString& answer) {
            return AnswerHints::forAnswer(answer, expected);
        });
        widgets_.questionLabels[n - 1] = label;
    }
    addLabel(InputTab, QStringLiteral("lblKeepNotes"), QStringLiteral("20. » Keep notes below ..."),
             {120, 4320, 4000, 255});
    for (int i = 0; i < 2; ++i) {
        const NoteRow& row = noteSet[i];
        QLineEdit* box = addAnswerBox(InputTab, QLatin1String(row.box), QString::fromUtf8(row.defaultText),
                                      {120, 4590 + 360 * i, 8772, 360}, row.tabIndex);
        box->setToolTip(QString::fromUtf8(row.toolTip));
        box->setAccessibleName(QStringLiteral("Note %1").arg(i + 1));
        widgets_.noteBoxes[i] = box;
    }
}

void FormDesign::buildDemosTab() {
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
        widgets_.examples[row - 1] = option;
        addLabel(DemosTab, indexed("ExTime", row), QLatin1String(demo.runTime), {1800, top + 60, 1200, 255});
        addLabel(DemosTab, indexed("Description", demo.descriptionIndex), QString::fromUtf8(demo.description),
                 {3600, top + 30, 5600, 450});
    }
    QPushButton* run = addButton(DemosTab, QStringLiteral("cmdRunDemo"), QStringLiteral("&Run Demo"),
                                 {2400, 4200, 1600, 600}, 24);
    run->setToolTip(QStringLiteral("Runs selected example in DOS"));
    widgets_.cmdRunDemo = run;
    QPushButton* cancel = addButton(DemosTab, QStringLiteral("cmdCancelDemo"), QStringLiteral("&Cancel"),
                                    {5160, 4200, 1600, 600}, 25);
    cancel->setToolTip(QStringLiteral("Return to main screen"));
    widgets_.cmdCancelDemo = cancel;
}

void FormDesign::buildSolverTab() {
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
        widgets_.solverBoxes[i - 1] = box;
        QLabel* label = addLabel(SolverTab, indexed("SolvQuestion", i), QString::fromUtf8(row.caption),
                                 {1900, tops[i - 1], 7400, 255});
        nameBox(label, box);
        widgets_.solverLabels[i - 1] = label;
    }
    QPushButton* edit = addButton(SolverTab, QStringLiteral("cmdEditSolverData"),
                                  QStringLiteral("&Edit Defaults"), {2400, 4320, 1600, 600}, 62);
    edit->setToolTip(QStringLiteral("Enters default values for editing"));
    widgets_.cmdEditSolverData = edit;
    QPushButton* clear = addButton(SolverTab, QStringLiteral("cmdDefaultSolverData"),
                                   QStringLiteral("&Use Defaults"), {5160, 4320, 1600, 600}, 63);
    clear->setToolTip(QStringLiteral("Sets all values to blank"));
    widgets_.cmdDefaultSolverData = clear;
}

void FormDesign::buildRunTab() {
    QLabel* submit =
        addLabel(RunTab, QStringLiteral("lblSubmit"),
                 QStringLiteral("'Submit' will run a DOS program using the DOSbox program.  Please "
                                "remember to exit DOSbox by typing  EXIT  !!!"),
                 {1128, 600, 7164, 600});
    setTextColour(submit, Qt::blue);
    auto* tPause = new QLineEdit(QStringLiteral("20"));
    addControl(RunTab, tPause, QStringLiteral("tPause"), {1440, 1920, 372, 372}, 69);
    QLabel* pause =
        addLabel(RunTab, QStringLiteral("pause"),
                 QStringLiteral("WARNING! 'Pause' time for your PC; e.g. 2010 PC=6 (seconds). If a "
                                "problem does NOT execute, increase time; begin time=20."),
                 {2160, 1800, 2295, 855});
    // Five lines must fit the label's design height whatever font stands in for Arial.
    pause->setFont(QFont(QStringLiteral("Arial"), 7));
    nameBox(pause, tPause);
    tPause->setAccessibleName(pause->text());
    widgets_.tPause = tPause;
    auto* autoExit = new QCheckBox(QStringLiteral("Auto-exit DOSbox"));
    autoExit->setChecked(true);
    addControl(RunTab, autoExit, QStringLiteral("AutoExit"), {4920, 1440, 2200, 300}, 67);
    widgets_.AutoExit = autoExit;
    const QString submitTip = QStringLiteral("Run Tolvik in DOS with your Input file");
    QPushButton* run = addButton(RunTab, QStringLiteral("cmdSubmit"), QStringLiteral("Submit &Run"),
                                 {4920, 1920, 1600, 600}, 27);
    run->setToolTip(submitTip);
    widgets_.cmdSubmit = run;
    QPushButton* plots = addButton(RunTab, QStringLiteral("cmdPlots"), QStringLiteral("View Previous Plot"),
                                   {3840, 3720, 1600, 600}, 68);
    plots->setToolTip(submitTip);
    tabs_->setControlVisible(plots, false);
}

void FormDesign::buildTipsTab() {
    // Filled when its tab is first shown: laying the text out is the dearest part of building the window.
    auto* tips = new QTextEdit;
    tips->setReadOnly(true);
    tips->setAccessibleName(QStringLiteral("Tips and suggestions"));
    tips->setLineWrapMode(QTextEdit::FixedPixelWidth);
    addControl(TipsTab, tips, QStringLiteral("RichTextBox1"), {240, 360, 9000, 5712}, 65);
    tips->setLineWrapColumnOrWidth(TwipGeometry::toPixels(tabs_->window(), 9000 - 650));
    widgets_.RichTextBox1 = tips;
}
