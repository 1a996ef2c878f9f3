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
    QLabel* addLabel(const QString& name, const QString& text, const QRect& twips);
    QPushButton* addHidingButton(const QString& name, const QString& caption, const QRect& twips);
    // The lines every dialog ends with, from the given top: rights line, notice, rule, version line.
    void addFooter(int top, int width);

    void setVersionLine();
    void setTitleLine();
    void setRightsLine();

    QLabel* txtTitle_ = nullptr;

private:
    void placeWidget(QWidget* widget, const QString& name, const QRect& twips);

    QLabel* lblCopyright_ = nullptr;
    QLabel* txtSerialNumber_ = nullptr;
};
