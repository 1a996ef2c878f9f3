#pragma once

#include "LayoutControl.h"

class QObject;
class QWidget;

// A widget or menu entry of the main window as layout scaling sees it. Its kind is named by the
// scaling table's type names; a kind the table lacks falls under its last row.
class WidgetLayoutControl : public LayoutControl {
public:
    // picCanvas is the window's one picture box: a plain widget, named as such.
    explicit WidgetLayoutControl(QObject* object);

    QLatin1String typeName() const override { return typeName_; }
    std::optional<double> read(LayoutProperty property) const override;
    bool write(LayoutProperty property, double value) override;

private:
    static QLatin1String typeNameOf(const QObject* object);
    std::optional<double> readTabProperty(const char* name) const;
    bool writeTabProperty(const char* name, double value);
    bool writeFontSize(double points);

    QObject* object_;
    QWidget* widget_; // null for a menu entry
    QLatin1String typeName_;
};
