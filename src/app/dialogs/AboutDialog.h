#pragma once

#include "InfoDialog.h"

class QLabel;
class Shell;

// frmAbout: the program's name, version, what it is for, and a panel on getting involved.
class AboutDialog : public InfoDialog {
public:
    // The panel's links open through the shell.
    AboutDialog(QWidget* owner, Shell& shell);

private:
    void Form_Load();

    QLabel* Label1_ = nullptr;
};
