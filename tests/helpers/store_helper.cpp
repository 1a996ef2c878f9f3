// A second process for the settings store tests, on values under Software\Test:
//   write-many FILE PREFIX COUNT BATCH  writes PREFIXi=i for i < COUNT, BATCH to a save (0: singly)
//   crash FILE NAME VALUE               dies before its batch writing NAME is saved
//   hold FILE                           holds the store's lock, says "held" and keeps it until its
//                                       input ends
#include "platform/RegFileStore.h"

#include <QCoreApplication>
#include <QLockFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    RegFileStore store(args.value(2));
    const auto write = [&](const QString& name, const QString& text) {
        return store.writeValue(SettingsStore::Root::CurrentUser, QStringLiteral("Software\\Test"), name,
                                StoredValue::ofText(text));
    };
    if (args.value(1) == QLatin1String("hold")) {
        QLockFile lock(args.value(2) + QStringLiteral(".lock"));
        if (!lock.lock())
            return 1;
        std::fputs("held\n", stdout);
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    if (args.value(1) == QLatin1String("crash")) {
        store.setBeforeCommit([] { qFatal("dying before the save"); });
        store.batch([&] { write(args.value(3), args.value(4)); });
        return 2;
    }
    const int count = args.value(4).toInt(), batch = args.value(5).toInt(), step = qMax(batch, 1);
    bool written = true;
    for (int first = 0; first < count && written; first += step) {
        const auto writeFrom = [&] {
            for (int i = first; i < qMin(count, first + step); ++i)
                written = write(args[3] + QString::number(i), QString::number(i)) && written;
        };
        written = (batch ? store.batch(writeFrom) : (writeFrom(), true)) && written;
    }
    return written ? 0 : 1;
}
