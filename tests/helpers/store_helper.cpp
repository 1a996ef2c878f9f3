// A second process for the settings store tests:
//   crash FILE NAME VALUE  dies before its batch writing NAME=VALUE under Software\Test is saved
//   hold FILE [MS]         holds the store's lock, says "held" and keeps it until its input ends, or
//                          for MS milliseconds
#include "platform/RegFileStore.h"

#include <QCoreApplication>
#include <QLockFile>

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("hold")) {
        QLockFile lock(args.value(2) + QStringLiteral(".lock"));
        if (!lock.lock())
            return 1;
        std::fputs("held\n", stdout);
        std::fflush(stdout);
        if (args.size() > 3) {
            std::this_thread::sleep_for(std::chrono::milliseconds(args.value(3).toInt()));
            return 0;
        }
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    if (args.value(1) == QLatin1String("crash")) {
        RegFileStore store(args.value(2));
        store.setBeforeCommit([] { qFatal("dying before the save"); });
        store.batch([&] {
            store.writeValue(SettingsStore::Root::CurrentUser, QStringLiteral("Software\\Test"),
                             args.value(3), StoredValue::ofText(args.value(4)));
        });
    }
    return 2;
}
