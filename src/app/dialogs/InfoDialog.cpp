#include "InfoDialog.h"

#include "ProgramInfo.h"
#include "app/layout/TwipGeometry.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr int lineHeight = 270;
constexpr int titleHeight = 420;
} // namespace

InfoDialog::InfoDialog(QWidget* owner, const QString& name, const QString& caption, const QSize& clientTwips)
    : QDialog(owner), contentWidth_(clientTwips.width() - 2 * margin) {
    setObjectName(name);
    setWindowTitle(caption);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    setFont(font);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(background);
    setAutoFillBackground(true);
    setFixedSize(TwipGeometry::toPixels(this, clientTwips.width()),
                 TwipGeometry::toPixels(this, clientTwips.height()));

    txtTitle_ = addLabel(QStringLiteral("txtTitle"), QString(), row(0, titleHeight));
    QFont title(QStringLiteral("Arial"), 12);
    title.setBold(true);
    txtTitle_->setFont(title);
}

void InfoDialog::placeWidget(QWidget* widget, const QString& name, const QRect& twips) {
    widget->setParent(this);
    widget->setObjectName(name);
    TwipGeometry::setRect(widget, twips);
}

QLabel* InfoDialog::addLabel(const QString& name, const QString& text, const QRect& twips) {
    auto* label = place(new QLabel(text), name, twips);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* InfoDialog::addOpening(const QString& name, const QString& text, int height) {
    QLabel* label = addLabel(name, text, row(0, height));
    label->setContentsMargins(0, TwipGeometry::toPixels(this, titleHeight), 0, 0);
    txtTitle_->raise();
    return label;
}

QPushButton* InfoDialog::addHidingButton(const QString& name, const QString& caption, const QRect& twips) {
    auto* button = place(new QPushButton(caption), name, twips);
    connect(button, &QPushButton::clicked, this, &QDialog::hide);
    return button;
}

void InfoDialog::addFooter(int top) {
    lblCopyright_ = addLabel(QStringLiteral("lblCopyright"), QString(), row(top, lineHeight));
    addLabel(QStringLiteral("Label3"), ProgramInfo::rightsNotice(), row(top + lineHeight, lineHeight));
    addLabel(QStringLiteral("Label4"), ProgramInfo::rule(), row(top + 2 * lineHeight, lineHeight));
    txtSerialNumber_ =
        addLabel(QStringLiteral("txtSerialNumber"), QString(), row(top + 3 * lineHeight, lineHeight));
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
