#include "AnswerHintMarker.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace {
// An amber triangle with a dark "!", drawn without a font or an icon theme.
QPixmap markerPicture() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(16, 2);
    triangle.lineTo(30, 28);
    triangle.lineTo(2, 28);
    triangle.closeSubpath();
    painter.fillPath(triangle, QColor(230, 150, 0));
    painter.fillRect(14, 10, 4, 10, QColor(40, 30, 0));
    painter.fillRect(14, 22, 4, 4, QColor(40, 30, 0));
    return pixmap;
}
} // namespace

AnswerHintMarker::AnswerHintMarker(QLineEdit* box, std::function<QString(const QString&)> hintFor)
    : QObject(box), box_(box), marker_(new QLabel(box->parentWidget())), hintFor_(std::move(hintFor)),
      plainToolTip_(box->toolTip()) {
    marker_->setObjectName(box->objectName() + QStringLiteral("Hint"));
    marker_->setPixmap(markerPicture());
    marker_->setScaledContents(true);
    marker_->hide();
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, &AnswerHintMarker::update);
    update();
}

bool AnswerHintMarker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ParentChange:
        place();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// Just after the box, as high as half the box, and only while the box itself shows.
void AnswerHintMarker::place() {
    const QRect box = box_->geometry();
    const int side = qMax(8, box.height() / 2);
    marker_->setGeometry(box.right() + 3, box.top() + (box.height() - side) / 2, side, side);
    marker_->setVisible(!hint_.isEmpty() && !box_->isHidden());
}

void AnswerHintMarker::update() {
    hint_ = hintFor_(box_->text());
    marker_->setToolTip(hint_);
    marker_->setAccessibleName(hint_);
    box_->setToolTip(hint_.isEmpty() ? plainToolTip_ : hint_);
    box_->setAccessibleDescription(hint_);
    place();
}
