#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// One stored value of the settings store, of one of the three kinds it keeps.
struct StoredValue {
    enum class Kind { Text = 1, Bytes = 3, Number = 4 };
    Kind kind = Kind::Text;
    QString text;
    QByteArray bytes;
    std::int32_t number = 0;

    static StoredValue ofText(const QString& text) { return {Kind::Text, text, {}, 0}; }
    static StoredValue ofBytes(const QByteArray& bytes) { return {Kind::Bytes, {}, bytes, 0}; }
    static StoredValue ofNumber(std::int32_t number) { return {Kind::Number, {}, {}, number}; }
    bool operator==(const StoredValue&) const = default;
};

// The per-user settings store: hierarchical keys ("Software\Quenwick\Tolvik"), key and value names
// compared without regard to case, an empty value name for a key's default value. On Windows it is the
// registry; elsewhere a file of the user's.
class SettingsStore {
public:
    enum class Root { CurrentUser, ClassesRoot };

    virtual ~SettingsStore() = default;
    virtual bool keyExists(Root root, const QString& key) = 0;
    // Creates the key and any missing parent; false when the store could not be written.
    virtual bool createKey(Root root, const QString& key) = 0;
    // Nothing when the key or the value is missing.
    virtual std::optional<StoredValue> readValue(Root root, const QString& key, const QString& name) = 0;
    // Writes into an existing key only; false when the key is missing or the store could not be written.
    virtual bool writeValue(Root root, const QString& key, const QString& name, const StoredValue& value) = 0;
    // Runs changes, whose writes are applied as one: what other programs wrote meanwhile is kept, and
    // all of them or none reach the store. False when the store could not be read or written; changes
    // then did not run, or nothing of them was kept, or (the directory's last sync failing) all are in
    // place but may not outlast a crash. A batch inside a batch is part of the outer one,
    // which alone decides what is kept.
    virtual bool batch(const std::function<void()>& changes) = 0;
    // A user command begins: a store that waits for other programs may wait its full time again.
    virtual void commandStarted() {}
    // Why the last call could not read or write the store ("... is locked by another program"); empty
    // when it could. A key that seems missing from a store that cannot be read is no answer at all.
    virtual QString failure() const = 0;

    // Where a key lies under the user's own key: class registrations are kept per user, in the
    // per-user part of the classes root.
    static QString storedPath(Root root, const QString& key) {
        return root == Root::ClassesRoot ? QStringLiteral("Software\\Classes\\") + key : key;
    }
};
