#pragma once

#include <QString>

// The messages a new user sees before the window, fewer with every start.
struct IntroductionMessage {
    QString title;
    QString text;
};

// A, B, C or D.
IntroductionMessage introductionMessage(char which);
