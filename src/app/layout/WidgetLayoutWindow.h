#pragma once

#include "LayoutWindow.h"
#include "WidgetLayoutControl.h"

#include <QList>

#include <vector>

class QObject;
class QWidget;

// A window's controls, in its control order, over the widget that is its client area.
class WidgetLayoutWindow : public LayoutWindow {
public:
    WidgetLayoutWindow(QWidget* clientArea, const QList<QObject*>& controls);

    int controlCount() const override { return static_cast<int>(controls_.size()); }
    LayoutControl& control(int index) override { return controls_[static_cast<std::size_t>(index)]; }
    double clientWidth() const override;
    double clientHeight() const override;

private:
    QWidget* clientArea_;
    std::vector<WidgetLayoutControl> controls_;
};
