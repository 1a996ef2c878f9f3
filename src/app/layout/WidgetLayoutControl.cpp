#include "WidgetLayoutControl.h"

#include "TwipGeometry.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {
bool fitsInt(double value) {
    return std::isfinite(value) && std::abs(value) < std::numeric_limits<int>::max();
}
} // namespace

WidgetLayoutControl::WidgetLayoutControl(QObject* object)
    : object_(object), widget_(qobject_cast<QWidget*>(object)), typeName_(typeNameOf(object)) {}

QLatin1String WidgetLayoutControl::typeNameOf(const QObject* object) {
    struct Kind {
        const QMetaObject* type;
        const char* name;
    };
    static const Kind kinds[]{{&QAction::staticMetaObject, "Menu"},
                              {&QLineEdit::staticMetaObject, "TextBox"},
                              {&QLabel::staticMetaObject, "Label"},
                              {&QPushButton::staticMetaObject, "CommandButton"},
                              {&QRadioButton::staticMetaObject, "OptionButton"},
                              {&QCheckBox::staticMetaObject, "CheckBox"}};
    for (const Kind& kind : kinds)
        if (object->metaObject()->inherits(kind.type))
            return QLatin1String(kind.name);
    if (object->inherits("TabControl"))
        return QLatin1String("SSTab");
    if (object->objectName() == QLatin1String("picCanvas"))
        return QLatin1String("PictureBox");
    return QLatin1String("Other");
}

std::optional<double> WidgetLayoutControl::read(LayoutProperty property) const {
    if (!widget_)
        return std::nullopt;
    const QRect twips = TwipGeometry::rect(widget_);
    switch (property) {
    case LayoutProperty::Left:
        return twips.left();
    case LayoutProperty::Top:
        return twips.top();
    case LayoutProperty::Width:
        return twips.width();
    case LayoutProperty::Height:
        return twips.height();
    case LayoutProperty::FontSize:
        return widget_->font().pointSizeF();
    case LayoutProperty::TabHeight:
        return readTabProperty("tabHeight");
    case LayoutProperty::TabMaxWidth:
        return readTabProperty("tabMaxWidth");
    case LayoutProperty::FontObjectSize:
        return readTabProperty("captionPointSize");
    default:
        return std::nullopt;
    }
}

bool WidgetLayoutControl::write(LayoutProperty property, double value) {
    if (!widget_ || !fitsInt(value))
        return false;
    const int twips = static_cast<int>(std::lround(value));
    switch (property) {
    case LayoutProperty::Left:
        TwipGeometry::setLeft(widget_, twips);
        return true;
    case LayoutProperty::Top:
        TwipGeometry::setTop(widget_, twips);
        return true;
    case LayoutProperty::Width:
        if (twips < 0)
            return false;
        TwipGeometry::setWidth(widget_, twips);
        return true;
    case LayoutProperty::Height:
        if (twips < 0)
            return false;
        TwipGeometry::setHeight(widget_, twips);
        return true;
    case LayoutProperty::FontSize:
        return writeFontSize(value);
    case LayoutProperty::TabHeight:
        return writeTabProperty("tabHeight", value);
    case LayoutProperty::TabMaxWidth:
        return writeTabProperty("tabMaxWidth", value);
    case LayoutProperty::FontObjectSize:
        return writeTabProperty("captionPointSize", value);
    default:
        return false;
    }
}

std::optional<double> WidgetLayoutControl::readTabProperty(const char* name) const {
    const QVariant value = object_->property(name);
    return value.isValid() ? std::optional(value.toDouble()) : std::nullopt;
}

bool WidgetLayoutControl::writeTabProperty(const char* name, double value) {
    return object_->property(name).isValid() && object_->setProperty(name, value);
}

bool WidgetLayoutControl::writeFontSize(double points) {
    if (points <= 0)
        return false;
    if (widget_->font().pointSizeF() != points) {
        QFont font = widget_->font();
        font.setPointSizeF(points);
        widget_->setFont(font);
    }
    return true;
}
