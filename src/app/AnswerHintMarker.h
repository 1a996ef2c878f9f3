#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;

// Shows, beside an answer box and without blocking anything, whether the answer looks like what its
// question asks for: a marker in the gap after the box (inside it, it would hide the text of the
// narrow solver boxes), and the hint as the box's tooltip and accessible description. Follows every
// change of the text, typed or set, and the box's place, size and visibility.
class AnswerHintMarker : public QObject {
    Q_OBJECT
public:
    // hintFor answers the hint for a text, empty when it fits.
    AnswerHintMarker(QLineEdit* box, std::function<QString(const QString&)> hintFor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();
    void place();

    QLineEdit* box_;
    QLabel* marker_;
    std::function<QString(const QString&)> hintFor_;
    QString plainToolTip_;
    QString hint_;
};
