#include "MenuShortcutGuard.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace {
bool reachable(const QAction* entry) {
    if (!entry->isEnabled())
        return false;
    for (const QObject* owner : entry->associatedObjects())
        if (const auto* menu = qobject_cast<const QMenu*>(owner); menu && !menu->menuAction()->isEnabled())
            return false;
    return true;
}
} // namespace

bool MenuShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* entry : std::as_const(entries_))
        if (entry->shortcut() == pressed && reachable(entry)) {
            // Not accepted: the key goes on to the window's shortcuts instead of the box.
            event->ignore();
            return true;
        }
    return false;
}
