#include "MenuShortcutGuard.h"

#include <QAction>
#include <QKeyEvent>

namespace {
// An Alt chord reaches a box as a key press only when no shown control or menu took it as its access
// key: the window's shortcuts come first. Ctrl+Alt is AltGr on Windows, which types.
bool unclaimedAccessKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    return modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) &&
           !key->text().isEmpty() && key->text().front().isPrint();
}
} // namespace

bool MenuShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        return unclaimedAccessKey(static_cast<QKeyEvent*>(event));
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* entry : std::as_const(entries_))
        if (entry->shortcut() == pressed)
            return true; // left unaccepted, as it comes: the window's shortcuts get the key first, and the
                         // box gets it only when no enabled entry takes it (the menus are off in demo mode)
    return false;
}
