#include "TwipGeometry.h"

#include <QVariant>
#include <QWidget>

#include <cmath>

namespace {
constexpr const char* twipRectProperty = "twipRect";
}

int TwipGeometry::toPixels(const QWidget* widget, int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * widget->logicalDpiX() / twipsPerInch));
}

int TwipGeometry::toTwips(const QWidget* widget, int pixels) {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * twipsPerInch / widget->logicalDpiX()));
}

void TwipGeometry::setRect(QWidget* widget, const QRect& twips) {
    widget->setProperty(twipRectProperty, twips);
    widget->setGeometry(toPixels(widget, twips.x()), toPixels(widget, twips.y()),
                        toPixels(widget, twips.width()), toPixels(widget, twips.height()));
}

QRect TwipGeometry::rect(const QWidget* widget) {
    const QVariant stored = widget->property(twipRectProperty);
    if (stored.isValid())
        return stored.toRect();
    const QRect px = widget->geometry();
    return {toTwips(widget, px.x()), toTwips(widget, px.y()), toTwips(widget, px.width()),
            toTwips(widget, px.height())};
}

void TwipGeometry::setLeft(QWidget* widget, int left) {
    QRect r = rect(widget);
    r.moveLeft(left);
    setRect(widget, r);
}

void TwipGeometry::setTop(QWidget* widget, int top) {
    QRect r = rect(widget);
    r.moveTop(top);
    setRect(widget, r);
}

void TwipGeometry::setWidth(QWidget* widget, int width) {
    QRect r = rect(widget);
    r.setWidth(width);
    setRect(widget, r);
}

void TwipGeometry::setHeight(QWidget* widget, int height) {
    QRect r = rect(widget);
    r.setHeight(height);
    setRect(widget, r);
}
