#include "EmailDialog.h"

#include "ProgramInfo.h"
#include "app/layout/TwipGeometry.h"
#include "core/FormLoadFailure.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {
constexpr int clientWidth = 5655;
constexpr int clientHeight = 7080;

QPlainTextEdit* textBox(const QString& text) {
    auto* box = new QPlainTextEdit(text);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(0);
    return box;
}

// Read-only, borderless, in the dialog's colour and out of the tab order: the text reads as a label
// that can still be selected and copied.
std::vector<Step> blendIntoDialog(QPlainTextEdit* box, const QColor& background) {
    return {[box] { box->setReadOnly(true); }, [box] { box->setFrameShape(QFrame::NoFrame); },
            [box, background] {
                QPalette palette = box->palette();
                palette.setColor(QPalette::Base, background);
                box->setPalette(palette);
            },
            [box] { box->setFocusPolicy(Qt::ClickFocus); }};
}
} // namespace

EmailDialog::EmailDialog(QWidget* owner, Services services)
    : InfoDialog(owner, QStringLiteral("frmEmail"), QStringLiteral("Email ..."), {clientWidth, clientHeight}),
      services_(std::move(services)) {
    addOpening(QStringLiteral("Label1"),
               QStringLiteral("In order to contact us via e-Mail, please follow the following steps."), 960);
    Text2_ = place(textBox(QStringLiteral("1. Send e-mail to: ") + ProgramInfo::contactAddress),
                   QStringLiteral("Text2"), row(960, 360));
    addLabel(QStringLiteral("Label7"),
             QStringLiteral("2. Enter your e-mail address for us to return our response to"), row(1340, 540));
    Text5_ = place(textBox(QString()), QStringLiteral("Text5"), row(1900, 600));
    addLabel(
        QStringLiteral("Label6"),
        QStringLiteral("4. Describe why contacting us.  Please give as much info as  possible to reproduce "
                       "what you are describing on our end."),
        row(2520, 780));
    QLabel* postal =
        addLabel(QStringLiteral("Text1"),
                 QStringLiteral("Or, write to us at        \n") + ProgramInfo::makerName +
                     QStringLiteral("\n77 Example Lane, Suite 0\nSpringfield 00000, Nowhere Country"),
                 row(3320, 1080));
    postal->setContentsMargins(TwipGeometry::toPixels(this, 720), 0, 0, 0);
    postal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addFooter(4460);
    addHidingButton(QStringLiteral("cmdOk"), QStringLiteral("&Close"), {840, 6300, 1800, 480});
    auto* email = place(new QPushButton(QStringLiteral("&Try Emailing")), QStringLiteral("cmdEmail"),
                        {3015, 6300, 1800, 480});
    connect(email, &QPushButton::clicked, this, &EmailDialog::cmdEmail_Click);
    Form_Load();
}

void EmailDialog::Form_Load() {
    std::vector<Step> steps;
    const auto add = [&](Step step) { steps.push_back(std::move(step)); };
    add([this] { setVersionLine(); });
    add([this] { setTitleLine(); });
    add([this] {
        Text5_->setPlainText(QStringLiteral("3. Enter a Subject: '") + ProgramInfo::programName +
                             QStringLiteral(" ... Version ") + ProgramInfo::versionText +
                             QStringLiteral("' and a few words to describe reason for contact"));
    });
    const QColor background = palette().color(QPalette::Window);
    for (QPlainTextEdit* box : {Text2_, Text5_})
        for (Step& step : blendIntoDialog(box, background))
            add(std::move(step));
    add([this] { setRightsLine(); });
    runSteps(steps, [this](const Failure& failure) { return handleLoadFailure(failure); });
}

StepOutcome EmailDialog::handleLoadFailure(const Failure& failure) {
    return handleFormLoadFailure({services_.messages, services_.state, services_.programDirectory,
                                  QStringLiteral("In 'frmEmail.form_load' routine ..."),
                                  QStringLiteral("fileDataPath")},
                                 failure);
}

void EmailDialog::cmdEmail_Click() {
    services_.mailto(ProgramInfo::mailLink());
    hide();
}
