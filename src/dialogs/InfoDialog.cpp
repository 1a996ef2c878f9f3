#include "InfoDialog.h"

#include "ProgramInfo.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr int margin = 240;
constexpr int lineHeight = 270;
} // namespace

InfoDialog::InfoDialog(QWidget* owner, const QString& name, const QString& caption, const QSize& clientTwips)
    : QDialog(owner) {
    setObjectName(name);
    setWindowTitle(caption);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    setFont(font);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(background);
    setAutoFillBackground(true);
    setFixedSize(logicalDpiX() * clientTwips.width() / 1440, logicalDpiY() * clientTwips.height() / 1440);

    txtTitle_ =
        addLabel(QStringLiteral("txtTitle"), QString(), {margin, 0, clientTwips.width() - 2 * margin, 400});
    QFont title(QStringLiteral("Arial"), 12);
    title.setBold(true);
    txtTitle_->setFont(title);
}

void InfoDialog::placeWidget(QWidget* widget, const QString& name, const QRect& twips) {
    widget->setParent(this);
    widget->setObjectName(name);
    widget->setGeometry(logicalDpiX() * twips.left() / 1440, logicalDpiY() * twips.top() / 1440,
                        logicalDpiX() * twips.width() / 1440, logicalDpiY() * twips.height() / 1440);
}

QLabel* InfoDialog::addLabel(const QString& name, const QString& text, const QRect& twips) {
    auto* label = place(new QLabel(text), name, twips);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* InfoDialog::addHidingButton(const QString& name, const QString& caption, const QRect& twips) {
    auto* button = place(new QPushButton(caption), name, twips);
    connect(button, &QPushButton::clicked, this, &QDialog::hide);
    return button;
}

void InfoDialog::addFooter(int top, int width) {
    lblCopyright_ = addLabel(QStringLiteral("lblCopyright"), QString(), {margin, top, width, lineHeight});
    addLabel(QStringLiteral("Label3"), ProgramInfo::rightsNotice(),
             {margin, top + lineHeight, width, lineHeight});
    addLabel(QStringLiteral("Label4"), ProgramInfo::rule(),
             {margin, top + 2 * lineHeight, width, lineHeight});
    txtSerialNumber_ = addLabel(QStringLiteral("txtSerialNumber"), QString(),
                                {margin, top + 3 * lineHeight, width, lineHeight});
}

void InfoDialog::setVersionLine() {
    txtSerialNumber_->setText(ProgramInfo::versionLine());
}

void InfoDialog::setTitleLine() {
    txtTitle_->setText(ProgramInfo::titleLine());
}

void InfoDialog::setRightsLine() {
    lblCopyright_->setText(ProgramInfo::rightsLine());
}
