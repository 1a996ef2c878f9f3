#include "AnswerHintMarker.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace {
// An amber triangle with a dark "!", drawn without a font or an icon theme.
QIcon markerIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(8, 1);
    triangle.lineTo(15, 14);
    triangle.lineTo(1, 14);
    triangle.closeSubpath();
    painter.fillPath(triangle, QColor(230, 150, 0));
    painter.fillRect(7, 5, 2, 5, QColor(40, 30, 0));
    painter.fillRect(7, 11, 2, 2, QColor(40, 30, 0));
    return QIcon(pixmap);
}
} // namespace

AnswerHintMarker::AnswerHintMarker(QLineEdit* box, std::function<QString(const QString&)> hintFor)
    : QObject(box), box_(box), marker_(new QAction(markerIcon(), QString(), box)),
      hintFor_(std::move(hintFor)), plainToolTip_(box->toolTip()) {
    marker_->setObjectName(box->objectName() + QStringLiteral("Hint"));
    box->addAction(marker_, QLineEdit::TrailingPosition);
    connect(box, &QLineEdit::textChanged, this, &AnswerHintMarker::update);
    update();
}

void AnswerHintMarker::update() {
    hint_ = hintFor_(box_->text());
    marker_->setVisible(!hint_.isEmpty());
    marker_->setToolTip(hint_);
    box_->setToolTip(hint_.isEmpty() ? plainToolTip_ : hint_);
    box_->setAccessibleDescription(hint_);
}
