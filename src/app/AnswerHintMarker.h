#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QLineEdit;

// Shows, beside an answer box's text and without blocking anything, whether the answer looks like what
// its question asks for: a marker inside the box, and the hint as its tooltip and accessible
// description. Follows every change of the text, typed or set.
class AnswerHintMarker : public QObject {
    Q_OBJECT
public:
    // hintFor answers the hint for a text, empty when it fits.
    AnswerHintMarker(QLineEdit* box, std::function<QString(const QString&)> hintFor);

    QString hint() const { return hint_; }

private:
    void update();

    QLineEdit* box_;
    QAction* marker_;
    std::function<QString(const QString&)> hintFor_;
    QString plainToolTip_;
    QString hint_;
};
