#pragma once

#include <QList>
#include <QWidget>

class QTabBar;

// A tab control whose pages' controls are all its own children: the controls of the tabs not shown are
// moved 75000 twips to the left, and back when their tab is selected. Out of sight is not enough for the
// keyboard and screen readers, so they are hidden as well.
// Its tab height, widest tab (0: as wide as the caption needs) and caption font follow the window's
// size through layout scaling, which reaches them as properties.
class TabControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double tabHeight READ tabHeight WRITE setTabHeight)
    Q_PROPERTY(double tabMaxWidth READ tabMaxWidth WRITE setTabMaxWidth)
    Q_PROPERTY(double captionPointSize READ captionPointSize WRITE setCaptionPointSize)
public:
    explicit TabControl(QWidget* parent = nullptr);

    int addTab(const QString& caption);
    // Places a control on a tab at its design position (twips, relative to this control); the tab index
    // orders the focus as in the window's design.
    void addControl(int tab, QWidget* control, const QRect& twips, int tabIndex);
    // Whether a control shows while its tab does; every control does unless told otherwise.
    void setControlVisible(QWidget* control, bool visible);

    // The tab a control was placed on, -1 for none.
    int tabOf(const QWidget* control) const;
    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int tab);
    bool isTabEnabled(int tab) const;
    void setTabEnabled(int tab, bool on);
    // Ctrl+Tab and Ctrl+PgDn select the next enabled tab, Ctrl+Shift+Tab and Ctrl+PgUp the previous one,
    // from anywhere in window, as in every tabbed desktop program.
    void addKeyboardNavigation(QWidget* window);
    // The Tab key goes through the controls in the order of their tab indexes.
    void applyTabOrder();
    // Turns the shown tab's controls on and the others off; the one with the lowest tab index takes the
    // focus when it can.
    void FocusCurrentTab();

    double tabHeight() const { return tabHeight_; }
    void setTabHeight(double twips);
    double tabMaxWidth() const { return tabMaxWidth_; }
    void setTabMaxWidth(double twips);
    double captionPointSize() const;
    void setCaptionPointSize(double points);

signals:
    void currentChanged(int tab);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTabControls(int tab);
    void selectNeighbour(int step);
    void placeTabBar();

    struct Placement {
        QWidget* control;
        int tab;
        int tabIndex;
        bool visible;
    };
    QTabBar* bar_;
    QList<Placement> placements_;
    double tabHeight_ = 360;
    double tabMaxWidth_ = 0;
};
