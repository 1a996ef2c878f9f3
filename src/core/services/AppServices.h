#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

class FileDialogBackend;
class FileSystemLookups;
class MessageBoxes;
class SettingsStore;
class Shell;

// What the window needs of the platform: the Qt implementations in the program, fakes or temporary
// directories in tests.
struct AppServices {
    MessageBoxes& messages;
    FileDialogBackend& fileDialogs;
    Shell& shell;
    SettingsStore& store;
    FileSystemLookups& lookups;
    QString programDirectory;
    // Closes every window and ends the process.
    std::function<void()> closeAllWindows;
    // The time and the locale that input file headers are dated with.
    std::function<QDateTime()> clock;
    QLocale locale;
};
