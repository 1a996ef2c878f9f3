#pragma once

#include <QList>
#include <QObject>

class QAction;

// Keys meant for the menus and buttons never reach a text box as text. Text boxes claim some Ctrl keys
// for themselves (Ctrl+A selects all): where such a key is a shortcut of the window's menu, the menu
// gets it, wherever the focus is. And an access key (Alt with a letter) whose control sits on a hidden
// tab, or whose menu is off, types nothing.
class MenuShortcutGuard : public QObject {
public:
    MenuShortcutGuard(QList<QAction*> entries, QObject* parent)
        : QObject(parent), entries_(std::move(entries)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> entries_;
};
