#include "RegFileStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {
constexpr int lockWaitMilliseconds = 10000;
}

RegFileStore::RegFileStore(const QString& filePath) : filePath_(filePath) {}

QString RegFileStore::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quenwick/registry.reg");
}

void RegFileStore::setDamageNotice(std::function<void(const QString&, const QString&)> notice) {
    damageNotice_ = std::move(notice);
}

// Class registrations are kept per user, as the per-user part of the classes root is on Windows.
QString RegFileStore::storedPath(Root root, const QString& key) {
    return root == Root::ClassesRoot ? QStringLiteral("Software\\Classes\\") + key : key;
}

RegFileStore::Stamp RegFileStore::currentStamp() const {
    struct stat info {};
    if (::stat(QFile::encodeName(filePath_).constData(), &info) != 0)
        return {};
    return {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
            static_cast<unsigned long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

QString RegFileStore::unusedAsideName() const {
    const QString base = filePath_ + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

std::optional<RegDocument> RegFileStore::readDocument() {
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly))
        return RegDocument{};
    std::optional<RegDocument> parsed = RegDocument::parse(file.readAll());
    if (parsed)
        return parsed;
    if (!damageNoticed_) {
        damageNoticed_ = true;
        keptAs_ = unusedAsideName();
        if (damageNotice_)
            damageNotice_(filePath_, keptAs_);
    }
    return std::nullopt;
}

const RegDocument& RegFileStore::document() {
    const Stamp stamp = currentStamp();
    if (stamp != cachedStamp_) {
        std::optional<RegDocument> read = readDocument();
        cachedStamp_ = stamp;
        cachedDamaged_ = !read;
        cached_ = read ? std::move(*read) : RegDocument{};
    }
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
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return false;
    QLockFile lock(filePath_ + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMilliseconds))
        return false;
    // Every writer replaces the file, so an unchanged stamp means the cached contents are current.
    const Stamp stamp = currentStamp();
    // The defaults that stand in for a damaged file are never taken for its contents.
    std::optional<RegDocument> fresh =
        stamp == cachedStamp_ && !cachedDamaged_ ? std::optional(cached_) : readDocument();
    if (!fresh) {
        // A damaged file is never overwritten: it is kept aside first.
        if (QFileInfo::exists(keptAs_))
            keptAs_ = unusedAsideName();
        if (!QFile::rename(filePath_, keptAs_))
            return false;
        fresh = RegDocument{};
        damageNoticed_ = false;
    }
    if (!change(*fresh) || !save(*fresh))
        return false;
    cached_ = std::move(*fresh);
    cachedStamp_ = currentStamp();
    cachedDamaged_ = false;
    return true;
}

bool RegFileStore::save(const RegDocument& document) {
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.serialize();
    if (file.write(bytes) != bytes.size())
        return false;
    if (beforeCommit_)
        beforeCommit_();
    return file.commit();
}
