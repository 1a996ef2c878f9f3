#include "WidgetLayoutWindow.h"

#include "TwipGeometry.h"

#include <QWidget>

WidgetLayoutWindow::WidgetLayoutWindow(QWidget* clientArea, const QList<QObject*>& controls)
    : clientArea_(clientArea) {
    controls_.reserve(static_cast<std::size_t>(controls.size()));
    for (QObject* control : controls)
        controls_.emplace_back(control);
}

double WidgetLayoutWindow::clientWidth() const {
    return TwipGeometry::toTwips(clientArea_, clientArea_->width());
}

double WidgetLayoutWindow::clientHeight() const {
    return TwipGeometry::toTwips(clientArea_, clientArea_->height());
}
