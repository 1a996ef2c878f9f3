#include "FakeMessageBoxes.h"

MessageBoxes::Answer FakeMessageBoxes::show(const QString& title, const QString& text, Icon icon,
                                            Buttons buttons) {
    log_.append({title, text, icon, buttons});
    if (!answers_.isEmpty())
        return answers_.takeFirst();
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

QStringList FakeMessageBoxes::titles() const {
    QStringList result;
    for (const Shown& shown : log_)
        result << shown.title;
    return result;
}

void FakeMessageBoxes::clear() {
    answers_.clear();
    log_.clear();
}
