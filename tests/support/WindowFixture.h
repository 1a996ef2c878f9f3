#pragma once

#include "FakeFileDialogBackend.h"
#include "FakeMessageBoxes.h"
#include "FakeShell.h"
#include "ScriptedLookups.h"
#include "app/MainWindow.h"
#include "core/ProgramState.h"
#ifdef Q_OS_WIN
#include "os/win32/Win32RegistryStore.h"
using FixtureStore = Win32RegistryStore;
#else
#include "settings/RegFileStore.h"
using FixtureStore = RegFileStore;
#endif

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

// The real main window over a temporary installation and the real settings store, emptied (the test's
// own XDG_CONFIG_HOME, or the maker's key in the registry), with fakes for what the platform would show
// or start.
struct WindowFixture {
    // Input file headers are dated in the given locale.
    explicit WindowFixture(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates));
    ~WindowFixture();

    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }
    QLabel* label(const QString& name) const { return control<QLabel>(name); }
    // A control that must be there: the test ends here when it is not.
    template <typename T> T* control(const QString& name) const {
        T* control = window->findChild<T*>(name);
        if (!control)
            qFatal("no %s %s", T::staticMetaObject.className(), qPrintable(name));
        return control;
    }
    // Clicks a button as a user does: on its tab, shown first.
    void press(const QString& button) const;
    // Creates the key when missing and stores a text value under the current user.
    void storeText(const QString& key, const QString& name, const QString& text);
    // The text stored under the current user, or "<missing>".
    QString storedText(const QString& key, const QString& name);
    QString programDirectory() const { return installation.path() + QStringLiteral("/Quenwick/Tolvik"); }

    QString startDirectory;
    QTemporaryDir installation;
    ProgramState state;
    FakeMessageBoxes messages;
    FakeFileDialogBackend fileDialogs;
    FakeShell shell;
    ScriptedLookups lookups;
    FixtureStore store;
    int windowsClosed = 0;
    QDateTime now{QDate(2024, 1, 16), QTime(15, 7)};
    std::unique_ptr<MainWindow> window;
};
