#pragma once

#include <QList>

#include <vector>

class QMenuBar;
class QObject;

// The main window's menu bar as data: names, captions, shortcuts and the web pages of the link entries.
namespace MainMenu {
struct Entry {
    const char* name;
    const char* caption; // "-" for a separator; "&&" shows as one "&"
    const char* shortcut = "";
    const char* webAddress = ""; // opened by the shell when given; kept as the entry's data
    std::vector<Entry> submenu = {};
};

struct Menu {
    const char* name;
    const char* caption;
    std::vector<Entry> entries;
};

const std::vector<Menu>& table();

// Builds the menus into the bar; every menu and entry is appended to the window's controls.
void build(QMenuBar* bar, QList<QObject*>& controls);
} // namespace MainMenu
