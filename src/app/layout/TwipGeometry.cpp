#include "TwipGeometry.h"

#include <QHash>
#include <QWidget>

#include <cmath>

namespace {
// The twips of every control placed through here. Kept beside the widgets rather than as a dynamic
// property: a scaling pass reads and writes them for every control, and property look-ups by name
// cost more than the rest of the pass.
QHash<const QWidget*, QRect>& storedRects() {
    static QHash<const QWidget*, QRect> rects;
    return rects;
}

int toPixelsAt(double dpi, int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / TwipGeometry::twipsPerInch));
}
} // namespace

int TwipGeometry::toPixels(const QWidget* widget, int twips) {
    return toPixelsAt(widget->logicalDpiX(), twips);
}

int TwipGeometry::toTwips(const QWidget* widget, int pixels) {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * twipsPerInch / widget->logicalDpiX()));
}

void TwipGeometry::setRect(QWidget* widget, const QRect& twips) {
    QHash<const QWidget*, QRect>& rects = storedRects();
    const auto entry = rects.find(widget);
    if (entry != rects.end()) {
        *entry = twips;
    } else {
        rects.insert(widget, twips);
        QObject::connect(widget, &QObject::destroyed, [widget] { storedRects().remove(widget); });
    }
    const double dpi = widget->logicalDpiX();
    widget->setGeometry(toPixelsAt(dpi, twips.x()), toPixelsAt(dpi, twips.y()),
                        toPixelsAt(dpi, twips.width()), toPixelsAt(dpi, twips.height()));
}

QRect TwipGeometry::rect(const QWidget* widget) {
    const auto stored = storedRects().constFind(widget);
    if (stored != storedRects().cend())
        return *stored;
    const QRect px = widget->geometry();
    return {toTwips(widget, px.x()), toTwips(widget, px.y()), toTwips(widget, px.width()),
            toTwips(widget, px.height())};
}

namespace {
// One side of a control's twips changed, the rest kept.
template <typename Change> void changeRect(QWidget* widget, Change change) {
    QRect twips = TwipGeometry::rect(widget);
    change(twips);
    TwipGeometry::setRect(widget, twips);
}
} // namespace

void TwipGeometry::setLeft(QWidget* widget, int left) {
    changeRect(widget, [left](QRect& r) { r.moveLeft(left); });
}

void TwipGeometry::setTop(QWidget* widget, int top) {
    changeRect(widget, [top](QRect& r) { r.moveTop(top); });
}

void TwipGeometry::setWidth(QWidget* widget, int width) {
    changeRect(widget, [width](QRect& r) { r.setWidth(width); });
}

void TwipGeometry::setHeight(QWidget* widget, int height) {
    changeRect(widget, [height](QRect& r) { r.setHeight(height); });
}
