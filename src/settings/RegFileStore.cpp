#include "RegFileStore.h"

#include "os/SystemErrors.h"
#include "os/WholeFileSave.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {
// About as long as one write on a store of a thousand values holds the lock.
constexpr int lockPauseMicroseconds = 2000;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString unreadable(const QString& path) {
    return shown(path) + QStringLiteral(" cannot be read");
}
} // namespace

RegFileStore::RegFileStore(const QString& filePath) : filePath_(filePath) {}

// QLockFile's own wait doubles its pauses up to seconds, so a waiter keeps missing the short gaps
// between the writes of others and can give up while they go on. Short pauses, varied so waiters
// do not move in step, give every waiter its turn soon after a release.
// One command may write several times: after a wait that gave up, the next ones until the next command
// wait only briefly, so the user waits about one full wait in all, not one for every write.
bool RegFileStore::acquire(QLockFile& lock) {
    if (lock.tryLock(0)) {
        lockGivenUp_ = false;
        return true;
    }
    if (lock.error() != QLockFile::LockFailedError)
        return false;
    if (waitNotice_)
        waitNotice_(true);
    const QDeadlineTimer deadline(lockGivenUp_ ? lockWaitMilliseconds_ / 20 : lockWaitMilliseconds_);
    bool acquired = false;
    while (!acquired && lock.error() == QLockFile::LockFailedError && !deadline.hasExpired()) {
        const int jitter = QRandomGenerator::global()->bounded(2 * lockPauseMicroseconds);
        std::this_thread::sleep_for(std::chrono::microseconds(lockPauseMicroseconds + jitter));
        acquired = lock.tryLock(0);
    }
    if (waitNotice_)
        waitNotice_(false);
    lockGivenUp_ = !acquired;
    return acquired;
}

QString RegFileStore::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quenwick/registry.reg");
}

void RegFileStore::setDamageNotice(std::function<void(const QString&, const QString&)> notice) {
    damageNotice_ = std::move(notice);
}

RegFileStore::FileRead RegFileStore::readFile() const {
    QFile file(filePath_);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        // Only a file that is not there is an empty store; one that failed to open may hold anything.
        const int error = errno;
        const bool missing =
            (error == 0 || error == ENOENT || error == ENOTDIR) && !QFileInfo::exists(filePath_);
        return {std::nullopt, !missing};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, true};
    return {std::move(bytes), false};
}

QString RegFileStore::unusedAsideName() const {
    const QString base = filePath_ + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

std::optional<RegDocument> RegFileStore::parseNoticingDamage(const QByteArray& bytes) {
    std::optional<RegDocument> parsed = RegDocument::parse(bytes);
    if (!parsed && !damageNoticed_) {
        damageNoticed_ = true;
        keptAs_ = unusedAsideName();
        damageToTell_ = true;
    }
    return parsed;
}

// Never while the lock is held: the notice may wait for the user, and other writers for the lock.
void RegFileStore::tellDamage() {
    if (!damageToTell_)
        return;
    damageToTell_ = false;
    if (damageNotice_)
        damageNotice_(filePath_, keptAs_);
}

void RegFileStore::refresh(const std::optional<QByteArray>& bytes) {
    if (bytes == cachedBytes_)
        return;
    std::optional<RegDocument> parsed = bytes ? parseNoticingDamage(*bytes) : RegDocument{};
    cachedBytes_ = bytes;
    cachedDamaged_ = !parsed;
    cached_ = parsed ? std::move(*parsed) : RegDocument{};
}

bool RegFileStore::failed(const QString& failure) {
    failure_ = failure;
    return false;
}

const RegDocument& RegFileStore::document() {
    if (batch_)
        return *batch_;
    const FileRead read = readFile();
    failure_ = read.unreadable ? unreadable(filePath_) : QString();
    refresh(read.bytes);
    tellDamage();
    return cached_;
}

bool RegFileStore::keyExists(Root root, const QString& key) {
    return document().hasKey(storedPath(root, key));
}

std::optional<StoredValue> RegFileStore::readValue(Root root, const QString& key, const QString& name) {
    return document().value(storedPath(root, key), name);
}

bool RegFileStore::createKey(Root root, const QString& key) {
    const QString path = storedPath(root, key);
    return modify([&](RegDocument& document) {
        document.createKey(path);
        return true;
    });
}

bool RegFileStore::writeValue(Root root, const QString& key, const QString& name, const StoredValue& value) {
    const QString path = storedPath(root, key);
    return modify([&](RegDocument& document) { return document.setValue(path, name, value); });
}

bool RegFileStore::modify(const std::function<bool(RegDocument&)>& change) {
    if (batch_) {
        const bool changed = change(*batch_);
        batchChanged_ = batchChanged_ || changed;
        return changed;
    }
    return underLock([&](RegDocument& fresh) { return change(fresh) && commit(std::move(fresh)); });
}

bool RegFileStore::batch(const std::function<void()>& changes) {
    if (batch_) {
        changes();
        return true;
    }
    return underLock([&](RegDocument& fresh) {
        batch_ = &fresh;
        batchChanged_ = false;
        try {
            changes();
        } catch (...) {
            // A batch that did not run to its end saves nothing of it.
            batch_ = nullptr;
            throw;
        }
        batch_ = nullptr;
        return !batchChanged_ || commit(std::move(fresh));
    });
}

bool RegFileStore::underLock(const std::function<bool(RegDocument&)>& work) {
    failure_.clear();
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("the folder ") + shown(folder) + QStringLiteral(" cannot be made"));
    bool done = false;
    {
        QLockFile lock(filePath_ + QStringLiteral(".lock"));
        if (!acquire(lock))
            return failed(lock.error() == QLockFile::LockFailedError
                              ? shown(filePath_) + QStringLiteral(" is locked by another program")
                              : QStringLiteral("the lock file ") + shown(filePath_) +
                                    QStringLiteral(".lock cannot be made"));
        std::optional<RegDocument> fresh = lockedContents();
        done = fresh ? work(*fresh) : failed(unreadable(filePath_));
    }
    tellDamage();
    return done;
}

std::optional<RegDocument> RegFileStore::lockedContents() {
    const FileRead read = readFile();
    // What cannot be read may hold anything; replacing it would lose it.
    if (read.unreadable)
        return std::nullopt;
    refresh(read.bytes);
    // The defaults that stand in for a damaged file are never taken for its contents.
    return cachedDamaged_ ? RegDocument{} : cached_;
}

bool RegFileStore::commit(RegDocument document) {
    if (cachedDamaged_) {
        // A damaged file is never overwritten: it is kept aside first.
        if (QFileInfo::exists(keptAs_))
            keptAs_ = unusedAsideName();
        if (!QFile::rename(filePath_, keptAs_))
            return failed(QStringLiteral("the damaged ") + shown(filePath_) +
                          QStringLiteral(" cannot be kept aside"));
        damageNoticed_ = false;
    }
    QByteArray bytes = document.serialize();
    if (!save(bytes))
        return false;
    cached_ = std::move(document);
    cachedBytes_ = std::move(bytes);
    cachedDamaged_ = false;
    return true;
}

bool RegFileStore::save(const QByteArray& bytes) {
    WholeFileSave file(filePath_);
    file.setBeforeCommit(beforeCommit_);
    if (file.save(bytes) == WholeFileSave::Outcome::Saved)
        return true;
    return failed(shown(filePath_) + QStringLiteral(" cannot be saved: ") +
                  failureFromErrno(file.error()).description);
}
