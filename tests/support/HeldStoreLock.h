#pragma once

#include <QProcess>

// Another program that holds the settings store's lock while this lives.
class HeldStoreLock {
public:
    HeldStoreLock(const QString& helper, const QString& storeFile) {
        process_.start(helper, {QStringLiteral("hold"), storeFile});
        held_ = process_.waitForReadyRead(30000) && process_.readLine() == "held\n";
    }
    ~HeldStoreLock() {
        process_.closeWriteChannel();
        process_.waitForFinished(30000);
    }
    Q_DISABLE_COPY(HeldStoreLock)

    bool held() const { return held_; }

private:
    QProcess process_;
    bool held_ = false;
};
