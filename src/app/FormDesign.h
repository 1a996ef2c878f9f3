#pragma once

#include "core/AnswerSet.h"

#include <QList>
#include <QString>

#include <array>

class QCheckBox;
class QColor;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QRadioButton;
class QRect;
class QTextEdit;
class QWidget;
class TabControl;

// The main window's form as designed: the tabs and every control on them, with names, captions,
// positions in twips, tab indexes and tooltips. Builds them into the window's tab control; what they do
// is wired by the window.
class FormDesign {
public:
    // The controls the window works with once they are built.
    struct Widgets {
        std::array<QLineEdit*, questionCount> answerBoxes{};
        std::array<QLabel*, questionCount> questionLabels{};
        std::array<QLineEdit*, 2> noteBoxes{};
        std::array<QRadioButton*, 4> examples{};
        QPushButton* cmdRunDemo = nullptr;
        QPushButton* cmdCancelDemo = nullptr;
        std::array<QLineEdit*, 5> solverBoxes{};
        std::array<QLabel*, 5> solverLabels{};
        QPushButton* cmdEditSolverData = nullptr;
        QPushButton* cmdDefaultSolverData = nullptr;
        QLineEdit* tPause = nullptr;
        QCheckBox* AutoExit = nullptr;
        QPushButton* cmdSubmit = nullptr;
        QTextEdit* RichTextBox1 = nullptr;
    };

    // Every control built is appended to controls, in the window's control order.
    FormDesign(TabControl* tabs, QList<QObject*>& controls) : tabs_(tabs), controls_(controls) {}

    // Adds the tabs and their controls; once only.
    Widgets build();

    // A label's caption as designed: raw, "&&" included.
    static QString caption(const QLabel* label);
    static void setTextColour(QWidget* widget, const QColor& colour);
    // The normal text colour: readable on the window's background whatever the desktop theme.
    static QColor normalLabelColour();

private:
    void buildInputTab();
    void buildDemosTab();
    void buildSolverTab();
    void buildRunTab();
    void buildTipsTab();

    QLabel* addLabel(int tab, const QString& name, const QString& caption, const QRect& twips);
    QLineEdit* addAnswerBox(int tab, const QString& name, const QString& text, const QRect& twips,
                            int tabIndex);
    QPushButton* addButton(int tab, const QString& name, const QString& caption, const QRect& twips,
                           int tabIndex);
    void addControl(int tab, QWidget* control, const QString& name, const QRect& twips, int tabIndex);

    TabControl* tabs_;
    QList<QObject*>& controls_;
    Widgets widgets_;
    int nextLabelTabIndex_ = 70;
};
