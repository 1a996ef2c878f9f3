#include "WindowFixture.h"

#include "app/TabControl.h"

#include <QAbstractButton>
#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
#ifdef Q_OS_WIN
FixtureStore emptiedStore() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quenwick");
    return {};
}
#else
FixtureStore emptiedStore() {
    QFile::remove(RegFileStore::defaultFilePath());
    return FixtureStore(RegFileStore::defaultFilePath());
}
#endif
} // namespace

WindowFixture::WindowFixture(const QLocale& locale)
    : startDirectory(QDir::currentPath()), store(emptiedStore()) {
    QDir().mkpath(programDirectory() + QStringLiteral("/demos"));
    window = std::make_unique<MainWindow>(state, AppServices{messages, fileDialogs, shell, store, lookups,
                                                             programDirectory(), [this] { ++windowsClosed; },
                                                             [this] { return now; }, locale});
}

WindowFixture::~WindowFixture() {
    window.reset();
    QDir::setCurrent(startDirectory);
}

void WindowFixture::storeText(const QString& key, const QString& name, const QString& text) {
    store.createKey(SettingsStore::Root::CurrentUser, key);
    store.writeValue(SettingsStore::Root::CurrentUser, key, name, StoredValue::ofText(text));
}

QString WindowFixture::storedText(const QString& key, const QString& name) {
    const auto value = store.readValue(SettingsStore::Root::CurrentUser, key, name);
    return value ? value->text : QStringLiteral("<missing>");
}

void WindowFixture::press(const QString& button) const {
    auto* pressed = control<QAbstractButton>(button);
    window->tabs()->setCurrentIndex(window->tabs()->tabOf(pressed));
    pressed->click();
}
