// Time per SetValue and per QueryValue on settings stores of 10, 1 000 and 10 000 values.
#include "settings/RegFileStore.h"
#include "settings/RegistryApi.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {
const QString key = QStringLiteral("Software\\Quenwick\\Bench");
constexpr auto CU = SettingsStore::Root::CurrentUser;

void prefill(const QString& path, int values) {
    RegDocument document;
    document.createKey(key);
    for (int i = 0; i < values; ++i)
        document.setValue(key, QStringLiteral("Value%1").arg(i),
                          StoredValue::ofText(QStringLiteral("text %1").arg(i)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(document.serialize()) < 0)
        std::exit(1);
}

void measure(const QString& dir, int values) {
    const QString path = dir + QStringLiteral("/store%1.reg").arg(values);
    prefill(path, values);
    RegFileStore store(path);
    RegistryApi api(store);
    api.QueryValue(CU, key, QStringLiteral("Value0"), RegistryApi::TextKind, QString());

    const int writes = values >= 10000 ? 50 : 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < writes; ++i)
        api.SetValue(CU, key, QStringLiteral("Value%1").arg(i % values), RegistryApi::TextKind,
                     QStringLiteral("new"));
    const double writeMs = timer.nsecsElapsed() / 1e6 / writes;

    const int reads = 20000;
    timer.restart();
    for (int i = 0; i < reads; ++i)
        api.QueryValue(CU, key, QStringLiteral("value%1").arg(i % values), RegistryApi::TextKind, QString());
    const double readMs = timer.nsecsElapsed() / 1e6 / reads;
    std::printf("%6d values: SetValue %.3f ms, QueryValue %.4f ms\n", values, writeMs, readMs);
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("settings store (targets at 1000 values: SetValue < 2 ms, QueryValue < 0.5 ms)\n");
    for (int values : {10, 1000, 10000})
        measure(dir.path(), values);
    return 0;
}
