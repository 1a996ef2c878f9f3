#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class AboutDialog;
class EditorLauncher;
class EmailDialog;
class MessageBoxes;
class QWidget;
class Shell;
struct ProgramState;

// The Help and Web Links menus: documents and pages through the shell, the solver source in the
// editor, and the two information dialogs. A shell that opens nothing is not reported.
class HelpCommands {
public:
    struct Parts {
        QWidget* window;
        ProgramState& state;
        Shell& shell;
        MessageBoxes& messages;
        EditorLauncher& editor;
        QString programDirectory;
        std::function<std::int16_t(const QString&)> mailto;
    };

    explicit HelpCommands(Parts parts) : parts_(std::move(parts)) {}

    void openWebPage(const QString& address);
    void mnuHelpManual_Click();
    void mnuHelpSource_Click();
    void mnuHelpDonate_Click();
    void mnuHelpAbout_Click();
    void mnuHelpEmail_Click();

private:
    Parts parts_;
    // Made at the first opening and kept: their buttons only hide them.
    AboutDialog* frmAbout_ = nullptr;
    EmailDialog* frmEmail_ = nullptr;
};
