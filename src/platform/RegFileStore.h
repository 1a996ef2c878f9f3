#pragma once

#include "RegDocument.h"
#include "SettingsStore.h"

#include <functional>

// The settings store as one .reg text file per user. Every write locks the file, re-reads it, applies
// only its own change and saves through a temporary file, so concurrent writers lose nothing and a
// crash never leaves half a file. Reads take no lock and re-parse only when the file changed.
class RegFileStore : public SettingsStore {
public:
    explicit RegFileStore(const QString& filePath);

    // $XDG_CONFIG_HOME/Quenwick/registry.reg (default ~/.config).
    static QString defaultFilePath();

    // Told once, with the file's name and where it will be kept, when the file cannot be parsed.
    void setDamageNotice(std::function<void(const QString& file, const QString& keptAs)> notice);
    // Runs after a write's new contents are written and before they replace the file.
    void setBeforeCommit(std::function<void()> hook) { beforeCommit_ = std::move(hook); }

    QString filePath() const { return filePath_; }

    bool keyExists(Root root, const QString& key) override;
    bool createKey(Root root, const QString& key) override;
    std::optional<StoredValue> readValue(Root root, const QString& key, const QString& name) override;
    bool writeValue(Root root, const QString& key, const QString& name, const StoredValue& value) override;

private:
    struct Stamp {
        unsigned long long device = 0, inode = 0, size = 0;
        long long modifiedNs = -1;
        bool operator==(const Stamp&) const = default;
    };

    static QString storedPath(Root root, const QString& key);
    Stamp currentStamp() const;
    QString unusedAsideName() const;
    const RegDocument& document();
    // Nothing when the file is damaged; an empty document when there is no file.
    std::optional<RegDocument> readDocument();
    bool modify(const std::function<bool(RegDocument&)>& change);
    bool save(const RegDocument& document);

    QString filePath_;
    RegDocument cached_;
    Stamp cachedStamp_; // starts as a missing file's, which the empty cache matches
    bool cachedDamaged_ = false;
    bool damageNoticed_ = false;
    QString keptAs_;
    std::function<void(const QString&, const QString&)> damageNotice_;
    std::function<void()> beforeCommit_;
};
