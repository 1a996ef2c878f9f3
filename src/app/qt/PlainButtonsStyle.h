#pragma once

#include <QProxyStyle>

// The desktop's style, except that the buttons of message boxes and dialogs carry no icons, as on the
// system the program was designed for. Looking those icons up in the icon theme was the dearest part
// of the first start's first message.
class PlainButtonsStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};
