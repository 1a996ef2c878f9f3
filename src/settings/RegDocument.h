#pragma once

#include "core/services/SettingsStore.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The contents of a settings store file in .reg syntax: keys in brackets, then their values.
//   [Software\Quenwick\Tolvik]
//   "FileIn"="arm.tolv"
//   "Count"=dword:0000002a
//   "Blob"=hex:01,02
//   @="the key's default value"
// Key and value names are compared without regard to case and keep their first spelling.
class RegDocument {
public:
    struct Value {
        QString name;
        StoredValue data;
        bool operator==(const Value&) const = default;
    };
    struct Key {
        QString path;
        QList<Value> values;
        QHash<QString, qsizetype> valueIndex; // case-folded name -> position in values
    };

    static const QByteArray headerLine;

    // Nothing when the bytes are not a store file of this format.
    static std::optional<RegDocument> parse(const QByteArray& bytes);
    QByteArray serialize() const;
    // The same keys with the same spellings and values; the order of the keys does not count.
    bool operator==(const RegDocument& other) const;

    bool hasKey(const QString& path) const;
    void createKey(const QString& path);
    std::optional<StoredValue> value(const QString& path, const QString& name) const;
    bool setValue(const QString& path, const QString& name, const StoredValue& data);

private:
    qsizetype valueCount() const;
    Key* findKey(const QString& path);
    const Key* findKey(const QString& path) const;
    Key& addKey(const QString& path);
    static void setKeyValue(Key& key, const QString& name, const StoredValue& data);

    QList<Key> keys_;
    QHash<QString, qsizetype> index_; // case-folded path -> position in keys_
};
