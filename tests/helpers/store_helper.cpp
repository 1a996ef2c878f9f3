// A second process for the settings store tests, on values under Software\Test:
//   store_helper write-many FILE PREFIX COUNT BATCH  writes the texts PREFIXi=i for i < COUNT, BATCH a save
//   store_helper crash FILE NAME VALUE               dies before a batch writing NAME and Other commits
#include "platform/RegFileStore.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>

namespace {
const QString testKey = QStringLiteral("Software\\Test");
constexpr auto root = SettingsStore::Root::CurrentUser;

int writeMany(RegFileStore& store, const QString& prefix, int count, int batch) {
    for (int first = 0; first < count; first += batch) {
        bool written = true;
        const bool stored = store.batch([&] {
            for (int i = first; i < std::min(count, first + batch); ++i)
                written &= store.writeValue(root, testKey, prefix + QString::number(i),
                                            StoredValue::ofText(QString::number(i)));
        });
        if (!stored || !written) {
            QTextStream(stderr) << "the write of " << prefix << first << " failed\n";
            return 1;
        }
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5)
        return 2;
    RegFileStore store(args[2]);
    if (args[1] == QLatin1String("write-many") && args.size() >= 6)
        return writeMany(store, args[3], args[4].toInt(), args[5].toInt());
    if (args[1] == QLatin1String("crash")) {
        store.setBeforeCommit([] { std::abort(); });
        store.batch([&] {
            store.writeValue(root, testKey, args[3], StoredValue::ofText(args[4]));
            store.writeValue(root, testKey, QStringLiteral("Other"), StoredValue::ofText(args[4]));
        });
    }
    return 2;
}
