#include "WindowFixture.h"

#include <QTest>

WindowFixture::WindowFixture()
    : window(std::make_unique<MainWindow>(state, AppServices{messages, fileDialogs, shell})) {}

QLineEdit* WindowFixture::box(const QString& name) const {
    auto* found = window->findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no text box %s", qPrintable(name));
    return found;
}

QLabel* WindowFixture::label(const QString& name) const {
    auto* found = window->findChild<QLabel*>(name);
    if (!found)
        qFatal("no label %s", qPrintable(name));
    return found;
}
