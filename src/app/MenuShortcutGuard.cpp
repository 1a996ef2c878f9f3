#include "MenuShortcutGuard.h"

#include <QAction>
#include <QKeyEvent>

bool MenuShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* entry : std::as_const(entries_))
        if (entry->shortcut() == pressed) {
            // Not accepted: the window's shortcuts get the key first; the box gets it only when no
            // enabled entry takes it (the menus are off in demo mode).
            event->ignore();
            return true;
        }
    return false;
}
