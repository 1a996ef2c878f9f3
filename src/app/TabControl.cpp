#include "TabControl.h"

#include "app/layout/LayoutControl.h"
#include "app/layout/TwipGeometry.h"

#include <QShortcut>
#include <QTabBar>

#include <algorithm>

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setObjectName(QStringLiteral("tabBar"));
    bar_->setDrawBase(true);
    connect(bar_, &QTabBar::currentChanged, this, [this](int tab) {
        showTabControls(tab);
        emit currentChanged(tab);
    });
}

int TabControl::addTab(const QString& caption) {
    return bar_->addTab(caption);
}

void TabControl::addControl(int tab, QWidget* control, const QRect& twips, int tabIndex) {
    control->setParent(this);
    placements_.append({control, tab, tabIndex, true});
    QRect placed = twips;
    if (tab != currentIndex())
        placed.translate(-hiddenTabShift, 0);
    TwipGeometry::setRect(control, placed);
    control->setVisible(tab == currentIndex());
}

void TabControl::setControlVisible(QWidget* control, bool visible) {
    for (Placement& placement : placements_) {
        if (placement.control == control) {
            placement.visible = visible;
            control->setVisible(visible && placement.tab == currentIndex());
        }
    }
}

void TabControl::addKeyboardNavigation(QWidget* window) {
    const auto add = [this, window](const QKeySequence& keys, int step) {
        auto* shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this, [this, step] { selectNeighbour(step); });
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    add(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    add(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

// Round the tabs, past those that are off; the change runs the same handler as a click.
void TabControl::selectNeighbour(int step) {
    for (int tab = currentIndex(), n = 0; n < count(); ++n) {
        tab = (tab + step + count()) % count();
        if (isTabEnabled(tab)) {
            setCurrentIndex(tab);
            return;
        }
    }
}

int TabControl::tabOf(const QWidget* control) const {
    for (const Placement& placement : placements_)
        if (placement.control == control)
            return placement.tab;
    return -1;
}

int TabControl::count() const {
    return bar_->count();
}

int TabControl::currentIndex() const {
    return bar_->currentIndex();
}

void TabControl::setCurrentIndex(int tab) {
    bar_->setCurrentIndex(tab);
}

bool TabControl::isTabEnabled(int tab) const {
    return bar_->isTabEnabled(tab);
}

void TabControl::setTabEnabled(int tab, bool on) {
    bar_->setTabEnabled(tab, on);
}

void TabControl::showTabControls(int tab) {
    for (const Placement& placement : placements_) {
        const int left = TwipGeometry::rect(placement.control).left();
        const bool shifted = left < hiddenLeftLimit;
        if (placement.tab == tab && shifted)
            TwipGeometry::setLeft(placement.control, left + hiddenTabShift);
        else if (placement.tab != tab && !shifted)
            TwipGeometry::setLeft(placement.control, left - hiddenTabShift);
        placement.control->setVisible(placement.visible && placement.tab == tab);
    }
}

void TabControl::setTabHeight(double twips) {
    if (twips < 0)
        return;
    tabHeight_ = twips;
    placeTabBar();
}

void TabControl::setTabMaxWidth(double twips) {
    if (twips < 0 || twips == tabMaxWidth_)
        return;
    tabMaxWidth_ = twips;
    const int pixels = TwipGeometry::toPixels(this, static_cast<int>(twips));
    bar_->setStyleSheet(pixels > 0 ? QStringLiteral("QTabBar::tab { max-width: %1px; }").arg(pixels)
                                   : QString());
}

double TabControl::captionPointSize() const {
    return bar_->font().pointSizeF();
}

void TabControl::setCaptionPointSize(double points) {
    if (points <= 0 || points == captionPointSize())
        return;
    QFont font = bar_->font();
    font.setPointSizeF(points);
    bar_->setFont(font);
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeTabBar();
}

void TabControl::placeTabBar() {
    bar_->setGeometry(0, 0, width(), TwipGeometry::toPixels(this, static_cast<int>(tabHeight_)));
}

// Controls of equal tab index keep the order they were placed in.
void TabControl::applyTabOrder() {
    QList<Placement> ordered;
    for (const Placement& placement : std::as_const(placements_))
        if (placement.control->focusPolicy() != Qt::NoFocus)
            ordered.append(placement);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Placement& a, const Placement& b) { return a.tabIndex < b.tabIndex; });
    for (qsizetype i = 1; i < ordered.size(); ++i)
        setTabOrder(ordered[i - 1].control, ordered[i].control);
}

void TabControl::FocusCurrentTab() {
    int lowest = 99999;
    for (const Placement& placement : std::as_const(placements_)) {
        QWidget* control = placement.control;
        if (TwipGeometry::rect(control).left() < hiddenLeftLimit) {
            control->setEnabled(false);
            continue;
        }
        control->setEnabled(true);
        if (placement.tabIndex < lowest) {
            lowest = placement.tabIndex;
            // Labels and hidden controls cannot take the focus; they still count for the lowest index.
            if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(window()))
                control->setFocus();
        }
    }
}
