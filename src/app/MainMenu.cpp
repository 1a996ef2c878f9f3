#include "MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace MainMenu {
namespace {
void addEntries(QMenu* menu, const std::vector<Entry>& entries, QList<QObject*>& controls) {
    for (const Entry& entry : entries) {
        QAction* action = nullptr;
        QMenu* submenu = nullptr;
        if (!entry.submenu.empty()) {
            submenu = menu->addMenu(QString::fromUtf8(entry.caption));
            submenu->setObjectName(QLatin1String(entry.name));
            action = submenu->menuAction();
        } else if (QLatin1String(entry.caption) == QLatin1String("-")) {
            action = menu->addSeparator();
        } else {
            action = menu->addAction(QString::fromUtf8(entry.caption));
            action->setShortcut(QKeySequence(QLatin1String(entry.shortcut)));
            action->setData(QLatin1String(entry.webAddress));
        }
        action->setObjectName(QLatin1String(entry.name));
        controls.append(action);
        if (submenu)
            addEntries(submenu, entry.submenu, controls);
    }
}
} // namespace

const std::vector<Menu>& table() {
    static const std::vector<Menu> menus{
        {"mnuFile",
         "&File",
         {{"mnuFileNew", "&New", "Ctrl+N"},
          {"mnuFileOpen", "&Open ...", "Ctrl+O"},
          {"mnuFileSave", "&Save", "Ctrl+S"},
          {"mnuFileSaveAs", "Save &As ...", "Ctrl+A"},
          {"mnuFileDelete", "&Delete ..."},
          {"mnuFileSeperater", "-"},
          {"mnuFileSubmit", "Submit &Run", "Ctrl+R"},
          {"mnuFileSeperater2", "-"},
          {"mnuFileExit", "Exit"}}},
        {"mnuDemos", "&Demos", {{"mnuDemosRun", "Run &Demo ...", "Ctrl+D"}}},
        {"mnuView",
         "&View",
         {{"mnuViewDemos", "&Example File ..."}, {"mnuViewOutput", "&Last Output ...", "Ctrl+L"}}},
        {"mnuWeb",
         "&Web Links",
         {{"mnuWebPres", "Presentation: Optimize Car-Mfg", "",
           "https://www.researchgate.net/publication/Optimize_Car-Mfg_with_Calculus-level_Problem-Solving"},
          {"mnuWebVideo", "Web Slides ... Aimward Designs with Rapid Phototype", "",
           "https://www.slideshare.net/quenwick/aimward-designs-with-rapid-prototype"},
          {"mnuWebLinkEd", "NotePad++ Code Editor, we recommend it.", "", "https://notepad-plus-plus.org/"},
          {"mnuWebLinkBar4", "-"},
          {"mnuWebLink1", "Calculus-level Case Book (web site)", "", "https://www.quenwick.example/casebook"},
          {"mnuWebLinkBar", "-"},
          {"mnuWebVortane", "Vortane Compiler: Calculus-level Modeling", "",
           "https://www.quenwick.example/vortane"},
          {"mnuWebLinkBar2", "-"},
          {"mnuWebCalculusApps",
           "Calculus-level Apps",
           "",
           "",
           {{"mnuWebApp1", "Orbitra: Satellite Orbit Fitting", "", "https://www.quenwick.example/orbitra"},
            {"mnuWebApp2", "Hemodyne: One Heart Beat from Your Own Data", "",
             "https://www.quenwick.example/hemodyne"},
            {"mnuWebApp3", "Kilnwise: Kiln Temperature Control", "",
             "https://www.quenwick.example/kilnwise"}}},
          {"mnuWebMoreApps",
           "More Apps",
           "",
           "",
           {{"mnuWebApp4", "Tidewell: Tide Prediction", "", "https://www.quenwick.example/tidewell"}}}}},
        {"mnuHelp",
         "&Help",
         {{"mnuHelpManual", "&Manual ..."},
          {"mnuHelpSource", "Source &Code ..."},
          {"mnuHelpVideos", "Video Apps for Classes (web)", "", "https://www.quenwick.example/videos"},
          {"mnuHelpEmail", "&E-mail Support ..."},
          {"mnuHelpForum", "Forum: Create, Collaborative, && Help Train ...", "",
           "https://www.reddit.com/r/CFD/comments/quenwick_create_collaborate_help_train/"},
          {"mnuHelpPrayer", "Prayer Tree ...", "", "https://www.quenwick.example/prayer-tree"},
          {"mnuHelpDonate", "&Donate ..."},
          {"mnuHelpAbout", "&About ..."}}},
    };
    return menus;
}

void build(QMenuBar* bar, QList<QObject*>& controls) {
    for (const Menu& row : table()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(row.caption));
        menu->setObjectName(QLatin1String(row.name));
        menu->menuAction()->setObjectName(QLatin1String(row.name));
        controls.append(menu->menuAction());
        addEntries(menu, row.entries, controls);
    }
}
} // namespace MainMenu
