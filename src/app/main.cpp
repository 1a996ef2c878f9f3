#include "MainWindow.h"
#include "app/qt/PlainButtonsStyle.h"
#include "app/qt/QtFileDialogBackend.h"
#include "app/qt/QtMessageBoxes.h"
#include "app/qt/QtShell.h"
#include "core/ProgramState.h"
#include "core/services/MessageBoxes.h"
#include "os/RunProcesses.h"

#ifdef Q_OS_WIN
#include "os/win32/Win32FileSystemLookups.h"
#include "os/win32/Win32RegistryStore.h"
#else
#include "os/ProgramSignals.h"
#include "os/posix/PosixFileSystemLookups.h"
#include "settings/RegFileStore.h"

#include <csignal>
#endif

#include <QApplication>
#include <QTimer>

namespace {
#ifdef Q_OS_WIN
using SystemLookups = Win32FileSystemLookups;

// The registry itself; a run's job object ends with the program, so there is no signal to wire.
struct SystemStore : Win32RegistryStore {
    explicit SystemStore(MessageBoxes&) {}
};

struct SystemSignals {
    SystemSignals(QtShell&, const bool&) {}
};
#else
using SystemLookups = PosixFileSystemLookups;

struct SystemStore : RegFileStore {
    explicit SystemStore(MessageBoxes& messages) : RegFileStore(defaultFilePath()) {
        setDamageNotice([&messages](const QString& file, const QString& keptAs) {
            messages.show(
                QStringLiteral("Tolvik settings"),
                QStringLiteral("The settings file %1 is damaged and cannot be read.\nTolvik goes on "
                               "with its default settings; the damaged file will be kept as %2.")
                    .arg(file, keptAs),
                MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        });
        setWaitNotice([](bool waiting) {
            if (waiting)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
        });
    }
};

// Ending the program (log-out, kill, Ctrl+C) ends a run first. Before the main loop runs (the
// introduction) there is nothing to end but the program itself, which then ends as the signal would
// have ended it.
struct SystemSignals {
    SystemSignals(QtShell& shell, const bool& looping) {
        QObject::connect(&signals_, &ProgramSignals::endRequested, qApp, [&shell, &looping](int signal) {
            if (!looping) {
                ::signal(signal, SIG_DFL);
                ::raise(signal);
            }
            shell.endRunThen([] { QCoreApplication::quit(); });
        });
        QObject::connect(&signals_, &ProgramSignals::childEnded, qApp, [&shell] { shell.reapOrphans(); });
    }
    ProgramSignals signals_;
};
#endif
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Before any child is started: whatever a run leaves behind comes back to the program.
    RunProcesses::becomeSubreaper();
    QApplication::setStyle(new PlainButtonsStyle);
    QApplication::setApplicationName(QStringLiteral("Tolvik"));
    QApplication::setOrganizationName(QStringLiteral("Quenwick"));
    // A Wayland desktop finds the window's menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("quenwick-tolvik"));

    ProgramState state;
    QtMessageBoxes messages;
    QtFileDialogBackend fileDialogs;
    QtShell shell;
    bool looping = false;
    const SystemSignals systemSignals(shell, looping);
    SystemLookups lookups;
    SystemStore store(messages);
    const auto closeAllWindows = [] {
        QApplication::closeAllWindows();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    };
    MainWindow window(state, AppServices{messages, fileDialogs, shell, store, lookups,
                                         QCoreApplication::applicationDirPath(), closeAllWindows,
                                         [] { return QDateTime::currentDateTime(); }, QLocale::system()});
    messages.setParentWindow(&window);
    fileDialogs.setParentWindow(&window);
    shell.setParentWindow(&window);
    window.Form_Load();
    if (window.programEnded() || window.unloaded())
        return 0;
    window.show();
    QTimer::singleShot(0, &app, [&looping] { looping = true; });
    return QApplication::exec();
}
