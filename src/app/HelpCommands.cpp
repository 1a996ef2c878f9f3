#include "HelpCommands.h"

#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/EmailDialog.h"
#include "core/services/Shell.h"
#include "run/EditorLauncher.h"

#include <QDir>

void HelpCommands::openWebPage(const QString& address) {
    parts_.shell.openDocument(address);
}

void HelpCommands::mnuHelpManual_Click() {
    parts_.shell.openDocument(parts_.programDirectory + QStringLiteral("/manual.pdf"));
}

void HelpCommands::mnuHelpSource_Click() {
    parts_.editor.openInEditor(parts_.programDirectory + QStringLiteral("/Tolvuser.vt"));
}

void HelpCommands::mnuHelpDonate_Click() {
    parts_.shell.openDocument(QDir::cleanPath(parts_.programDirectory + QStringLiteral("/../donate.html")));
}

void HelpCommands::mnuHelpAbout_Click() {
    if (!frmAbout_)
        frmAbout_ = new AboutDialog(parts_.window, parts_.shell);
    frmAbout_->exec();
}

void HelpCommands::mnuHelpEmail_Click() {
    if (!frmEmail_)
        frmEmail_ = new EmailDialog(parts_.window,
                                    {parts_.messages, parts_.state, parts_.programDirectory, parts_.mailto});
    frmEmail_->exec();
}
