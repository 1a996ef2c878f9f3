#pragma once

#include "core/services/MessageBoxes.h"

#include <QList>

// Scripted answers, and a log of every message shown. Without a scripted answer the box is answered
// with its first button (OK or Yes).
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) override {
        log_.append({title, text, icon, buttons});
        if (!answers_.isEmpty())
            return answers_.takeFirst();
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }

    void script(std::initializer_list<Answer> answers) { answers_.append(answers); }
    const QList<Shown>& log() const { return log_; }
    QStringList titles() const {
        QStringList result;
        for (const Shown& shown : log_)
            result << shown.title;
        return result;
    }
    // Each message whole, as title|text|icon|buttons.
    QStringList described() const {
        static const char* const icons[]{"None", "Critical", "Question", "Exclamation", "Information"};
        static const char* const buttons[]{"Ok", "OkCancel", "YesNo", "YesNoCancel"};
        QStringList result;
        for (const Shown& shown : log_)
            result << QStringList{shown.title, shown.text, icons[int(shown.icon)],
                                  buttons[int(shown.buttons)]}
                          .join('|');
        return result;
    }
    void clear() {
        answers_.clear();
        log_.clear();
    }

private:
    QList<Answer> answers_;
    QList<Shown> log_;
};
