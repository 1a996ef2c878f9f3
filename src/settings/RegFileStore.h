#pragma once

#include "RegDocument.h"
#include "core/services/SettingsStore.h"

#include <functional>

class QLockFile;

// The settings store as one .reg text file per user. Every write locks the file, re-reads it, applies
// only its own change and saves through a temporary file, so concurrent writers lose nothing and a
// crash never leaves half a file. Reads take no lock. Reads and writes alike read the file's bytes and
// parse them only when they differ from the last parsed ones: a file replaced within one timestamp tick
// can keep its inode, size and time. A file that exists but cannot be read is never replaced: writes
// fail, reads find nothing.
class RegFileStore : public SettingsStore {
public:
    explicit RegFileStore(const QString& filePath);

    // $XDG_CONFIG_HOME/Quenwick/registry.reg (default ~/.config).
    static QString defaultFilePath();

    // Told once, with the file's name and where it will be kept, when the file cannot be parsed.
    void setDamageNotice(std::function<void(const QString& file, const QString& keptAs)> notice);
    // Runs after a write's new contents are written and before they replace the file.
    void setBeforeCommit(std::function<void()> hook) { beforeCommit_ = std::move(hook); }

    // How long a write waits for the lock that another program holds before it fails.
    void setLockWait(int milliseconds) { lockWaitMilliseconds_ = milliseconds; }
    // Told true when a write starts to wait for the lock and false when the wait is over.
    void setWaitNotice(std::function<void(bool waiting)> notice) { waitNotice_ = std::move(notice); }

    QString filePath() const { return filePath_; }

    bool keyExists(Root root, const QString& key) override;
    bool createKey(Root root, const QString& key) override;
    std::optional<StoredValue> readValue(Root root, const QString& key, const QString& name) override;
    bool writeValue(Root root, const QString& key, const QString& name, const StoredValue& value) override;
    // One lock, one re-read and at most one save, none when nothing was written.
    bool batch(const std::function<void()>& changes) override;
    void commandStarted() override { lockGivenUp_ = false; }
    QString failure() const override { return failure_; }

private:
    // The file's bytes; nothing when there is no file or it cannot be read, which sets unreadable.
    struct FileRead {
        std::optional<QByteArray> bytes;
        bool unreadable = false;
    };

    FileRead readFile() const;
    QString unusedAsideName() const;
    const RegDocument& document();
    // Parses only bytes other than the last parsed; nothing stands for an empty store.
    void refresh(const std::optional<QByteArray>& bytes);
    // Nothing when the bytes are damaged, which is told once.
    std::optional<RegDocument> parseNoticingDamage(const QByteArray& bytes);
    void tellDamage();
    bool acquire(QLockFile& lock);
    bool failed(const QString& failure);
    bool modify(const std::function<bool(RegDocument&)>& change);
    // Takes the lock and hands work the current contents; false when either cannot be had.
    bool underLock(const std::function<bool(RegDocument&)>& work);
    // Under the lock: the current contents to change, or nothing when the file cannot be read.
    std::optional<RegDocument> lockedContents();
    // Under the lock: keeps a damaged file aside, then saves.
    bool commit(RegDocument document);
    bool save(const QByteArray& bytes);

    QString filePath_;
    RegDocument cached_;
    std::optional<QByteArray> cachedBytes_; // what cached_ was parsed from; starts as a missing file's
    bool cachedDamaged_ = false;
    bool damageNoticed_ = false;
    bool damageToTell_ = false;
    QString keptAs_;
    std::function<void(const QString&, const QString&)> damageNotice_;
    std::function<void()> beforeCommit_;
    std::function<void(bool)> waitNotice_;
    int lockWaitMilliseconds_ = 10000;
    bool lockGivenUp_ = false;
    RegDocument* batch_ = nullptr; // the contents a batch is changing
    bool batchChanged_ = false;
    QString failure_;
};
