#include "HeldStoreLock.h"

HeldStoreLock::HeldStoreLock(const QString& helper, const QString& storeFile) {
    process_.start(helper, {QStringLiteral("hold"), storeFile});
    held_ = process_.waitForReadyRead(30000) && process_.readLine() == "held\n";
}

HeldStoreLock::~HeldStoreLock() {
    process_.closeWriteChannel();
    process_.waitForFinished(30000);
}
