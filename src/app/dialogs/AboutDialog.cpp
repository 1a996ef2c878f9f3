#include "AboutDialog.h"

#include "ProgramInfo.h"
#include "core/services/Shell.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

namespace {
constexpr int clientWidth = 8175;
constexpr int clientHeight = 8640;

const char* const panelHtml = R"(
<p align="center"><b>Get Involved!</b><br>Calculus-level Problem-Solving<br><b>----------</b><br>
Think Outside-the-box, try it!</p>
<p><u>Help Students</u>:</p>
<p>Science and engineering open doors: the models you learn to build in class are the ones industry
pays to have solved. Stay with mathematics a little longer than the syllabus asks.</p>
<p>We recommend classes that let engineering and science students solve real models in the language of
calculus; see our <a href="https://www.quenwick.example/classes">class materials</a>.</p>
<p><u>Student Projects</u>:</p>
<ul>
<li>A math model of one heart beat, built from your own pulse and pressure data
(<a href="https://www.quenwick.example/projects/heartbeat">project notes</a>).</li>
<li>A plane-crash locator program with a time-line of events
(<a href="https://www.quenwick.example/projects/crash-locator">project notes</a>).</li>
<li>A math model on cancer: how a tumour grows and how treatment slows it.</li>
</ul>)";
} // namespace

AboutDialog::AboutDialog(QWidget* owner, Shell& shell)
    : InfoDialog(owner, QStringLiteral("frmAbout"), QStringLiteral("About ..."),
                 {clientWidth, clientHeight}) {
    Label1_ = addOpening(
        QStringLiteral("Label1"),
        QStringLiteral(
            "is an example of Calculus (level) Problem-Solving.  We are publishing a textbook filled with "
            "Calculus Problem-Solving examples from industry that have been collected over the last 30 plus "
            "years.  The first calculus-level compiler let engineers state a model as equations and "
            "derivatives and leave the numerical method to the compiler.  Its successors have carried that "
            "idea from the mainframe to the personal computer."),
        1900);
    addLabel(
        QStringLiteral("Label2"),
        QStringLiteral("Help future science and engineers get jobs upon graduation. With Vortane Compiler, "
                       "one increases their 'Modeling and Simulation' productivity by a factor of twenty!"),
        row(1950, 780));
    addLabel(QStringLiteral("Label5"), QStringLiteral("Our case book: ") + ProgramInfo::caseBookAddress,
             row(2760, 500));
    auto* panel = place(new QTextBrowser, QStringLiteral("RichTextBox1"), row(3300, 3450));
    panel->setOpenLinks(false);
    panel->setHtml(QString::fromUtf8(panelHtml));
    connect(panel, &QTextBrowser::anchorClicked, this,
            [&shell](const QUrl& link) { shell.openDocument(link.toString()); });
    addFooter(6850);
    addHidingButton(QStringLiteral("cmdOkay"), QStringLiteral("&OK"),
                    {(clientWidth - 1440) / 2, 8040, 1440, 420});
    Form_Load();
}

void AboutDialog::Form_Load() {
    setVersionLine();
    setTitleLine();
    Label1_->setText(ProgramInfo::programName + QLatin1Char(' ') + Label1_->text());
    setRightsLine();
}
