#include "Win32RegistryStore.h"

#include <windows.h>

#include <QtEndian>

namespace {
std::wstring wide(const QString& text) {
    return text.toStdWString();
}

// An open key, closed when it goes.
class Key {
public:
    Key(SettingsStore::Root root, const QString& key, REGSAM access, bool create) {
        const std::wstring path = wide(SettingsStore::storedPath(root, key));
        status_ = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &key_, nullptr)
                         : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_);
    }
    ~Key() {
        if (status_ == ERROR_SUCCESS)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    bool open() const { return status_ == ERROR_SUCCESS; }
    LONG status() const { return status_; }
    HKEY handle() const { return key_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_INVALID_HANDLE;
};
} // namespace

bool Win32RegistryStore::noted(long status, Root root, const QString& key) {
    failure_.clear();
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        failure_ = QStringLiteral("HKEY_CURRENT_USER\\") + storedPath(root, key) + QStringLiteral(": ") +
                   qt_error_string(int(status));
    return status == ERROR_SUCCESS;
}

bool Win32RegistryStore::keyExists(Root root, const QString& key) {
    return noted(Key(root, key, KEY_READ, false).status(), root, key);
}

bool Win32RegistryStore::createKey(Root root, const QString& key) {
    return noted(Key(root, key, KEY_WRITE, true).status(), root, key);
}

std::optional<StoredValue> Win32RegistryStore::readValue(Root root, const QString& key, const QString& name) {
    const Key opened(root, key, KEY_READ, false);
    if (!opened.open())
        return std::nullopt;
    const std::wstring valueName = wide(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(opened.handle(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    QByteArray data(qsizetype(size), '\0');
    if (RegQueryValueExW(opened.handle(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.truncate(qsizetype(size));
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data.constData()),
                                               data.size() / qsizetype(sizeof(wchar_t)));
        // The stored text carries its terminating NUL.
        while (text.endsWith(QChar(u'\0')))
            text.chop(1);
        return StoredValue::ofText(text);
    }
    case REG_DWORD:
        if (data.size() == 4)
            return StoredValue::ofNumber(qFromLittleEndian<std::int32_t>(data.constData()));
        break;
    default:
        break;
    }
    return StoredValue::ofBytes(data);
}

bool Win32RegistryStore::writeValue(Root root, const QString& key, const QString& name,
                                    const StoredValue& value) {
    const Key opened(root, key, KEY_WRITE, false);
    if (!noted(opened.status(), root, key))
        return false;
    const std::wstring valueName = wide(name);
    QByteArray data;
    DWORD type = REG_SZ;
    switch (value.kind) {
    case StoredValue::Kind::Text: {
        const std::wstring text = wide(value.text);
        data = QByteArray(reinterpret_cast<const char*>(text.c_str()),
                          qsizetype((text.size() + 1) * sizeof(wchar_t)));
        break;
    }
    case StoredValue::Kind::Bytes:
        type = REG_BINARY;
        data = value.bytes;
        break;
    case StoredValue::Kind::Number:
        type = REG_DWORD;
        data = QByteArray(4, '\0');
        qToLittleEndian(value.number, data.data());
        break;
    }
    return noted(RegSetValueExW(opened.handle(), valueName.c_str(), 0, type,
                                reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size())),
                 root, key);
}

bool Win32RegistryStore::batch(const std::function<void()>& changes) {
    changes();
    return true;
}
