#include "TabControl.h"

#include "layout/TwipGeometry.h"

#include <QTabBar>

namespace {
constexpr int tabBarHeightTwips = 360;
}

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

void TabControl::addControl(int tab, QWidget* control, const QRect& twips) {
    control->setParent(this);
    placements_.append({control, tab});
    QRect placed = twips;
    if (tab != currentIndex())
        placed.translate(-hiddenShift, 0);
    TwipGeometry::setRect(control, placed);
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
        const bool shifted = left < -hiddenShift / 2;
        if (placement.tab == tab && shifted)
            TwipGeometry::setLeft(placement.control, left + hiddenShift);
        else if (placement.tab != tab && !shifted)
            TwipGeometry::setLeft(placement.control, left - hiddenShift);
    }
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar_->setGeometry(0, 0, width(), TwipGeometry::toPixels(this, tabBarHeightTwips));
}
