#pragma once

#include <QProcess>

// Another program that holds the settings store's lock while this lives.
class HeldStoreLock {
public:
    HeldStoreLock(const QString& helper, const QString& storeFile);
    ~HeldStoreLock();
    HeldStoreLock(const HeldStoreLock&) = delete;
    HeldStoreLock& operator=(const HeldStoreLock&) = delete;

    bool held() const { return held_; }

private:
    QProcess process_;
    bool held_ = false;
};
