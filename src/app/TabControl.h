#pragma once

#include <QList>
#include <QWidget>

class QTabBar;

// A tab control whose pages' controls are all its own children: the controls of the tabs not shown are
// moved 75000 twips to the left, and back when their tab is selected.
class TabControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int hiddenShift = 75000;

    explicit TabControl(QWidget* parent = nullptr);

    int addTab(const QString& caption);
    // Places a control on a tab at its design position (twips, relative to this control).
    void addControl(int tab, QWidget* control, const QRect& twips);

    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int tab);
    bool isTabEnabled(int tab) const;
    void setTabEnabled(int tab, bool on);
    QTabBar* tabBar() const { return bar_; }

signals:
    void currentChanged(int tab);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTabControls(int tab);

    struct Placement {
        QWidget* control;
        int tab;
    };
    QTabBar* bar_;
    QList<Placement> placements_;
};
