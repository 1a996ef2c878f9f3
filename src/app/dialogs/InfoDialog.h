#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// What the About and E-mail dialogs share: a fixed client area given in twips, Arial on light grey,
// and the title, rights and version lines. A dialog is made once; its buttons hide it for the next
// opening.
class InfoDialog : public QDialog {
public:
    InfoDialog(QWidget* owner, const QString& name, const QString& caption, const QSize& clientTwips);

protected:
    // Names the widget, makes it a child and places it at its rectangle in twips.
    template <typename T> T* place(T* widget, const QString& name, const QRect& twips) {
        placeWidget(widget, name, twips);
        return widget;
    }
    // A line across the dialog between its margins.
    QRect row(int top, int height) const { return {margin, top, contentWidth_, height}; }
    QLabel* addLabel(const QString& name, const QString& text, const QRect& twips);
    // The first paragraph: it shares the top edge with the title line and its text begins below it.
    QLabel* addOpening(const QString& name, const QString& text, int height);
    QPushButton* addHidingButton(const QString& name, const QString& caption, const QRect& twips);
    // The lines every dialog ends with, from the given top: rights line, notice, rule, version line.
    void addFooter(int top);

    void setVersionLine();
    void setTitleLine();
    void setRightsLine();

    static constexpr int margin = 240;

private:
    void placeWidget(QWidget* widget, const QString& name, const QRect& twips);

    int contentWidth_;
    QLabel* txtTitle_ = nullptr;
    QLabel* lblCopyright_ = nullptr;
    QLabel* txtSerialNumber_ = nullptr;
};
