#pragma once

#include "core/services/SettingsStore.h"

// The settings store on the Windows registry itself: keys under HKEY_CURRENT_USER, class keys under
// HKEY_CURRENT_USER\Software\Classes (the per-user part of the classes root), the three value kinds as
// REG_SZ, REG_BINARY and REG_DWORD. Each call opens its key, does one thing and closes it.
class Win32RegistryStore : public SettingsStore {
public:
    bool keyExists(Root root, const QString& key) override;
    bool createKey(Root root, const QString& key) override;
    std::optional<StoredValue> readValue(Root root, const QString& key, const QString& name) override;
    bool writeValue(Root root, const QString& key, const QString& name, const StoredValue& value) override;
    // The registry keeps no batch of its own: the changes are written one by one, each whole. Nothing
    // of a batch that ends with a failure is undone.
    bool batch(const std::function<void()>& changes) override;
    QString failure() const override { return failure_; }

private:
    // Keeps why the registry refused a call on a key; a key that is not there is no failure.
    bool noted(long status, Root root, const QString& key);

    QString failure_;
};
