#pragma once

#include "FakeFileDialogBackend.h"
#include "FakeMessageBoxes.h"
#include "FakeShell.h"
#include "app/MainWindow.h"
#include "core/ProgramState.h"

#include <QLabel>
#include <QLineEdit>

#include <memory>

// The real main window with fakes for what the platform would show or start.
struct WindowFixture {
    WindowFixture();

    QLineEdit* box(const QString& name) const;
    QLabel* label(const QString& name) const;
    template <typename T> T* control(const QString& name) const { return window->findChild<T*>(name); }

    ProgramState state;
    FakeMessageBoxes messages;
    FakeFileDialogBackend fileDialogs;
    FakeShell shell;
    std::unique_ptr<MainWindow> window;
};
