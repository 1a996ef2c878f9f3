#pragma once

#include <QTimer>

#include <functional>

// When the run window's view is next brought up to date: at most every shortestMilliseconds, and after
// a slow refresh so much later that refreshing takes no more than a share of the time. Output that comes
// faster than anyone reads is shown in batches, not read by read.
class RefreshPacer {
public:
    static constexpr int shortestMilliseconds = 100;
    static constexpr int share = 10;

    explicit RefreshPacer(const std::function<void()>& refresh) {
        timer_.setSingleShot(true);
        timer_.setInterval(shortestMilliseconds);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, refresh);
    }
    // More to show: a refresh follows after the interval the last one set, unless one is due already.
    void schedule() {
        if (!timer_.isActive())
            timer_.start();
    }
    // A refresh took this long.
    void refreshed(qint64 milliseconds) {
        timer_.setInterval(static_cast<int>(qMax<qint64>(shortestMilliseconds, share * milliseconds)));
    }
    void cancel() { timer_.stop(); }
    bool scheduled() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }

private:
    QTimer timer_;
};
