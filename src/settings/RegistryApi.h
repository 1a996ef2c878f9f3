#pragma once

#include "core/Failure.h"
#include "core/services/SettingsStore.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <variant>

// A value on the program's side: nothing, a text, bytes or a signed 32-bit number.
using RegValue = std::variant<std::monostate, QString, QByteArray, std::int32_t>;

// The program's only access to the settings store: each call opens what it needs, does one thing and
// leaves nothing open. Kinds: 1 text, 3 bytes, 4 32-bit number.
class RegistryApi {
public:
    using Root = SettingsStore::Root;
    static constexpr int TextKind = 1;
    static constexpr int BytesKind = 3;
    static constexpr int NumberKind = 4;

    explicit RegistryApi(SettingsStore& store) : store_(store) {}

    bool KeyExists(Root root, const QString& key);
    // Raises failure 1001 "Unable to create the registry key" when the store refuses, followed by why.
    void CreateKey(Root root, const QString& key);
    // CreateKey, for a key that KeyExists does not find.
    void createKeyWhenMissing(Root root, const QString& key);
    // The default whenever the value cannot be read; failure 1001 "Unsupported value type" for a kind
    // other than 1, 3 and 4 on a key that exists.
    RegValue QueryValue(Root root, const QString& key, const QString& name, int kind,
                        const RegValue& defaultValue);
    // Writes into an existing key only, and nothing for an unknown kind; failure 1001 "Unable to write
    // the registry value" and why, when the store could not be read or written.
    void SetValue(Root root, const QString& key, const QString& name, int kind, const RegValue& value);

    // Failure 1001 with what could not be done and why the store refused it.
    Failure storeFailure(const QString& what) const;

private:
    SettingsStore& store_;
};

// The value as text, as the program converts it for a text value or a message.
QString regValueText(const RegValue& value);
