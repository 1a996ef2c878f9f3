#pragma once

#include "core/services/MessageBoxes.h"

class QWidget;

class QtMessageBoxes : public MessageBoxes {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    QWidget* parent_ = nullptr;
};
