#include "RegistryApi.h"

#include "core/Failure.h"
#include "core/TextEncoding.h"

#include <QtEndian>

namespace {
constexpr qsizetype textBufferBytes = 1024;
constexpr qsizetype bytesBufferBytes = 4096;

// The data as the platform hands it over: texts in the code page with their terminating NUL.
QByteArray rawData(const StoredValue& stored) {
    switch (stored.kind) {
    case StoredValue::Kind::Bytes:
        return stored.bytes;
    case StoredValue::Kind::Number: {
        QByteArray raw(4, '\0');
        qToLittleEndian(stored.number, raw.data());
        return raw;
    }
    case StoredValue::Kind::Text:
        break;
    }
    return TextEncoding::toCodePage(stored.text) + '\0';
}

std::optional<QString> readText(const StoredValue& stored) {
    if (stored.kind == StoredValue::Kind::Text)
        return stored.text.size() + 1 <= textBufferBytes ? std::optional(stored.text) : std::nullopt;
    const QByteArray raw = rawData(stored);
    if (raw.size() > textBufferBytes)
        return std::nullopt;
    return raw.isEmpty() ? QString() : TextEncoding::fromCodePage(raw.first(raw.size() - 1));
}

std::optional<QByteArray> readBytes(const StoredValue& stored) {
    const QByteArray raw = rawData(stored);
    return raw.size() <= bytesBufferBytes ? std::optional(raw) : std::nullopt;
}

std::optional<std::int32_t> readNumber(const StoredValue& stored) {
    if (stored.kind == StoredValue::Kind::Number)
        return stored.number;
    QByteArray raw = rawData(stored);
    if (raw.size() > 4)
        return std::nullopt;
    raw.resize(4, '\0');
    return qFromLittleEndian<std::int32_t>(raw.constData());
}

QByteArray toBytes(const RegValue& value) {
    if (const auto* bytes = std::get_if<QByteArray>(&value))
        return *bytes;
    return TextEncoding::toCodePage(regValueText(value));
}

std::int32_t toNumber(const RegValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    if (std::holds_alternative<std::monostate>(value))
        return 0;
    bool ok = false;
    const std::int32_t number = regValueText(value).trimmed().toInt(&ok);
    if (!ok)
        throw Failure{13, QStringLiteral("Type mismatch")};
    return number;
}
} // namespace

QString regValueText(const RegValue& value) {
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return QString::number(*number);
    if (const auto* bytes = std::get_if<QByteArray>(&value))
        return TextEncoding::fromCodePage(*bytes);
    return {};
}

Failure RegistryApi::storeFailure(const QString& what) const {
    const QString why = store_.failure();
    return {FailureNumber::SettingsStore, why.isEmpty() ? what : what + QStringLiteral(": ") + why};
}

bool RegistryApi::KeyExists(Root root, const QString& key) {
    return store_.keyExists(root, key);
}

void RegistryApi::CreateKey(Root root, const QString& key) {
    if (!store_.createKey(root, key))
        throw storeFailure(QStringLiteral("Unable to create the registry key"));
}

void RegistryApi::createKeyWhenMissing(Root root, const QString& key) {
    if (KeyExists(root, key))
        return;
    // A store that cannot be read hides the key; creating it would fail for another reason.
    if (!store_.failure().isEmpty())
        throw storeFailure(QStringLiteral("Unable to create the registry key"));
    CreateKey(root, key);
}

RegValue RegistryApi::QueryValue(Root root, const QString& key, const QString& name, int kind,
                                 const RegValue& defaultValue) {
    if (!store_.keyExists(root, key))
        return defaultValue;
    if (kind != TextKind && kind != BytesKind && kind != NumberKind)
        throw Failure{FailureNumber::SettingsStore, QStringLiteral("Unsupported value type")};
    const std::optional<StoredValue> stored = store_.readValue(root, key, name);
    if (!stored)
        return defaultValue;
    if (kind == BytesKind) {
        const std::optional<QByteArray> bytes = readBytes(*stored);
        return bytes ? RegValue(*bytes) : defaultValue;
    }
    if (kind == NumberKind) {
        const std::optional<std::int32_t> number = readNumber(*stored);
        return number ? RegValue(*number) : defaultValue;
    }
    const std::optional<QString> text = readText(*stored);
    if (!text)
        return defaultValue;
    // Other programs of the maker store a bare "\St" for their Stepwell directory.
    return *text == QLatin1String("\\St") ? RegValue(QStringLiteral("\\Stepwell")) : RegValue(*text);
}

void RegistryApi::SetValue(Root root, const QString& key, const QString& name, int kind,
                           const RegValue& value) {
    if (!store_.keyExists(root, key)) {
        // A store that cannot be read shows no keys; the value would be lost all the same.
        if (!store_.failure().isEmpty())
            throw storeFailure(QStringLiteral("Unable to write the registry value"));
        return;
    }
    StoredValue stored;
    switch (kind) {
    case TextKind:
        stored = StoredValue::ofText(regValueText(value));
        break;
    case BytesKind:
        stored = StoredValue::ofBytes(toBytes(value));
        break;
    case NumberKind:
        stored = StoredValue::ofNumber(toNumber(value));
        break;
    default:
        return;
    }
    // A write that did not reach the store (a full disk, a lock held too long) must not pass for one
    // that did.
    if (!store_.writeValue(root, key, name, stored))
        throw storeFailure(QStringLiteral("Unable to write the registry value"));
}
