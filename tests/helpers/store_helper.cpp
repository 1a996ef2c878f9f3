// A second process for the settings store tests, on values under Software\Test:
//   store_helper write-many FILE PREFIX COUNT BATCH  writes PREFIXi=i for i < COUNT, BATCH to a save (0:
//   singly) store_helper crash FILE NAME VALUE               dies before its batch writing NAME is saved
#include "platform/RegFileStore.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    RegFileStore store(args.value(2));
    const auto write = [&](const QString& name, const QString& text) {
        return store.writeValue(SettingsStore::Root::CurrentUser, QStringLiteral("Software\\Test"), name,
                                StoredValue::ofText(text));
    };
    if (args.value(1) == QLatin1String("crash")) {
        store.setBeforeCommit([] { std::abort(); });
        store.batch([&] { write(args.value(3), args.value(4)); });
        return 2;
    }
    const int count = args.value(4).toInt(), batch = args.value(5).toInt(), step = std::max(batch, 1);
    for (int first = 0; first < count; first += step) {
        bool written = true;
        const auto writeFrom = [&] {
            for (int i = first; i < std::min(count, first + step); ++i)
                written = write(args[3] + QString::number(i), QString::number(i)) && written;
        };
        if (!(batch ? store.batch(writeFrom) : (writeFrom(), true)) || !written) {
            qWarning("the write of %s%d failed", qPrintable(args[3]), first);
            return 1;
        }
    }
    return 0;
}
