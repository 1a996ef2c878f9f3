// The yardstick of the start-up benchmark: a bare Qt window with a tab widget of five tabs.
#include <QApplication>
#include <QTabWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTabWidget tabs;
    for (const char* caption : {"Input Parameters", "Demos", "Solver Variables", "Run", "Tips/Suggestions"})
        tabs.addTab(new QWidget, QString::fromLatin1(caption));
    tabs.resize(636, 440);
    tabs.show();
    return QApplication::exec();
}
