#include "MainWindow.h"
#include "core/ProgramState.h"
#include "platform/QtFileDialogBackend.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtShell.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvik"));
    QApplication::setOrganizationName(QStringLiteral("Quenwick"));

    ProgramState state;
    QtMessageBoxes messages;
    QtFileDialogBackend fileDialogs;
    QtShell shell;
    MainWindow window(state, AppServices{messages, fileDialogs, shell});
    messages.setParentWindow(&window);
    fileDialogs.setParentWindow(&window);
    shell.setParentWindow(&window);
    window.show();
    return QApplication::exec();
}
