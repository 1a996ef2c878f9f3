#pragma once

#include <QRect>

class QWidget;

// Controls keep their geometry in twips (1/1440 inch); the pixel geometry is derived from it at the
// widget's logical DPI whenever the twips change.
namespace TwipGeometry {
inline constexpr int twipsPerInch = 1440;

void setRect(QWidget* widget, const QRect& twips);
QRect rect(const QWidget* widget);
void setLeft(QWidget* widget, int left);
void setTop(QWidget* widget, int top);
void setWidth(QWidget* widget, int width);
void setHeight(QWidget* widget, int height);

int toPixels(const QWidget* widget, int twips);
int toTwips(const QWidget* widget, int pixels);
} // namespace TwipGeometry
