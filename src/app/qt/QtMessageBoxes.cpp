#include "QtMessageBoxes.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {
QMessageBox::Icon toQt(MessageBoxes::Icon icon) {
    switch (icon) {
    case MessageBoxes::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::Question:
        return QMessageBox::Question;
    case MessageBoxes::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageBoxes::Buttons buttons) {
    switch (buttons) {
    case MessageBoxes::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageBoxes::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageBoxes::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageBoxes::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageBoxes::Answer fromQt(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return MessageBoxes::Answer::Yes;
    case QMessageBox::No:
        return MessageBoxes::Answer::No;
    case QMessageBox::Cancel:
        return MessageBoxes::Answer::Cancel;
    default:
        return MessageBoxes::Answer::Ok;
    }
}
} // namespace

MessageBoxes::Answer QtMessageBoxes::show(const QString& title, const QString& text, Icon icon,
                                          Buttons buttons) {
    QMessageBox box(toQt(icon), title, text, toQt(buttons), parent_);
    // Closing the box with Escape or its close button counts as Cancel where Cancel is offered.
    if (buttons == Buttons::OkCancel || buttons == Buttons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    // Before the window is shown (the introduction), a box would open at the screen's corner: it opens
    // in the middle of the screen the window will appear on.
    if (parent_ && !parent_->isVisible()) {
        box.show(); // it takes its final size only when shown
        const QScreen* screen = parent_->screen() ? parent_->screen() : QGuiApplication::primaryScreen();
        box.move(screen->availableGeometry().center() - box.rect().center());
    }
    return fromQt(box.exec());
}
