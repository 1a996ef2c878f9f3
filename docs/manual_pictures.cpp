// Pictures of the real window for the manual, made at staging time from the window of the same build:
//   manual_pictures DIRECTORY
// The window starts offscreen with fresh settings (no introduction), at its design size and in one
// style, so that the pictures do not depend on the desktop they are made on.
#include "app/MainWindow.h"
#include "app/RunWindow.h"
#include "app/TabControl.h"
#include "app/qt/QtFileDialogBackend.h"
#include "app/qt/QtMessageBoxes.h"
#include "app/qt/QtShell.h"
#include "core/ProgramState.h"
#include "os/posix/PosixFileSystemLookups.h"
#include "settings/RegFileStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStyleFactory>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
QString directory;
int failures = 0;

void save(QWidget* widget, const QString& name) {
    if (!widget || !widget->grab().save(directory + QLatin1Char('/') + name))
        ++failures;
}

// A dialog is modal: it is pictured once it shows, then closed.
void pictureDialogOf(QAction* entry, const QString& name) {
    QTimer::singleShot(0, [name] {
        QWidget* dialog = QApplication::activeModalWidget();
        save(dialog, name);
        if (dialog)
            dialog->hide();
    });
    entry->trigger();
}

// A run of a stand-in solver, as a finished run shows it: the window shows the command as Tolvik gives it,
// with the run script where the installation has it.
void pictureRunWindow(const QString& scratch, const QString& installed) {
    const QString program = scratch + QStringLiteral("/Quenwick/Tolvik"),
                  user = program + QStringLiteral("/User");
    QDir().mkpath(user);
    QFile script(program + QStringLiteral("/run-TolW.sh"));
    if (!script.open(QIODevice::WriteOnly) ||
        script.write("echo \"Tolvik solver (stand-in) -- input file $1\"; echo\n"
                     "for i in 1 2 3 4 5 6; do echo \"iteration $i   residual 0.00$((7 - i))\"; done\n"
                     "echo; echo 'converged: q1 = 12.5  q2 = 48.1  q3 = 33.9  q4 = 87.2'\n") < 0) {
        ++failures;
        return;
    }
    script.close();
    RunWindow window(
        QStringLiteral("/bin/sh"),
        {script.fileName(), QStringLiteral("arm.tolv"), QStringLiteral("User"), QStringLiteral("exit")},
        user);
    QObject::connect(&window, &RunWindow::ended, [&] {
        const QList<QLabel*> labels = window.findChildren<QLabel*>();
        for (QLabel* label : labels)
            label->setText(label->text().replace(program, installed));
        window.setWindowTitle(window.windowTitle().replace(program, installed));
        save(&window, QStringLiteral("run-window.png"));
    });
    window.runToEnd();
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir scratch;
    qputenv("HOME", QFile::encodeName(scratch.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.path() + QStringLiteral("/data")));
    QApplication app(argc, argv);
    // The installation's program directory, as the run window's command shows it.
    if (argc != 3)
        return 2;
    directory = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(directory);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    RegFileStore store(RegFileStore::defaultFilePath());
    // A program started seven times before shows no introduction and registers nothing.
    store.createKey(SettingsStore::Root::CurrentUser, QStringLiteral("Software\\Quenwick\\Tolvik"));
    store.writeValue(SettingsStore::Root::CurrentUser, QStringLiteral("Software\\Quenwick\\Tolvik"),
                     QStringLiteral("RunCount"), StoredValue::ofText(QStringLiteral("7")));
    const QString program = scratch.path() + QStringLiteral("/Quenwick/Tolvik");
    QDir().mkpath(program + QStringLiteral("/demos"));
    ProgramState state;
    QtMessageBoxes messages;
    QtFileDialogBackend fileDialogs;
    QtShell shell;
    PosixFileSystemLookups lookups;
    MainWindow window(state, AppServices{messages, fileDialogs, shell, store, lookups, program, [] {},
                                         [] { return QDateTime::currentDateTime(); }, QLocale::system()});
    messages.setParentWindow(&window);
    window.Form_Load();
    window.show();
    const QStringList tabs{QStringLiteral("input.png"), QString(), QStringLiteral("solver.png"),
                           QStringLiteral("run.png"), QStringLiteral("tips.png")};
    for (int tab = 0; tab < tabs.size(); ++tab) {
        if (tabs[tab].isEmpty())
            continue;
        window.tabs()->setCurrentIndex(tab);
        save(&window, tabs[tab]);
    }
    window.findChild<QAction*>(QStringLiteral("mnuDemosRun"))->trigger();
    save(&window, QStringLiteral("demos.png"));
    window.findChild<QPushButton*>(QStringLiteral("cmdCancelDemo"))->click();
    pictureDialogOf(window.findChild<QAction*>(QStringLiteral("mnuHelpAbout")), QStringLiteral("about.png"));
    pictureDialogOf(window.findChild<QAction*>(QStringLiteral("mnuHelpEmail")), QStringLiteral("email.png"));
    pictureRunWindow(scratch.path(), QString::fromLocal8Bit(argv[2]));
    if (failures > 0)
        std::fprintf(stderr, "manual_pictures: %d pictures could not be made\n", failures);
    return failures == 0 ? 0 : 1;
}
