#pragma once

#include <QProcess>

// Another program that holds the settings store's lock while this lives, or for the given time.
class HeldStoreLock {
public:
    HeldStoreLock(const QString& helper, const QString& storeFile, int milliseconds = -1) {
        QStringList arguments{QStringLiteral("hold"), storeFile};
        if (milliseconds >= 0)
            arguments << QString::number(milliseconds);
        process_.start(helper, arguments);
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
