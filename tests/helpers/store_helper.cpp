// A second process for the settings store tests.
//   store_helper write-many FILE PREFIX COUNT [BATCH]
//                                  writes COUNT text values PREFIX0.. under Software\Test, BATCH at a time
//   store_helper read FILE NAME    prints the kind and value of NAME under Software\Test
//   store_helper crash FILE NAME VALUE [batch]
//                                  dies while the write of NAME (with another, in a batch) is not committed
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
                written = store.writeValue(root, testKey, prefix + QString::number(i),
                                           StoredValue::ofText(QString::number(i))) &&
                          written;
        });
        if (!stored || !written) {
            QTextStream(stderr) << "the write of " << prefix << first << " failed\n";
            return 1;
        }
    }
    return 0;
}

int read(RegFileStore& store, const QString& name) {
    const std::optional<StoredValue> value = store.readValue(root, testKey, name);
    QTextStream out(stdout);
    if (!value)
        out << "missing\n";
    else if (value->kind == StoredValue::Kind::Text)
        out << "text:" << value->text << "\n";
    else if (value->kind == StoredValue::Kind::Number)
        out << "number:" << value->number << "\n";
    else
        out << "bytes:" << value->bytes.toHex() << "\n";
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4)
        return 2;
    RegFileStore store(args[2]);
    if (args[1] == QLatin1String("write-many") && args.size() >= 5)
        return writeMany(store, args[3], args[4].toInt(), args.size() > 5 ? args[5].toInt() : 1);
    if (args[1] == QLatin1String("read"))
        return read(store, args[3]);
    if (args[1] == QLatin1String("crash") && args.size() >= 5) {
        store.setBeforeCommit([] { std::abort(); });
        store.batch([&] {
            store.writeValue(root, testKey, args[3], StoredValue::ofText(args[4]));
            if (args.size() > 5)
                store.writeValue(root, testKey, QStringLiteral("Other"), StoredValue::ofText(args[4]));
        });
    }
    return 2;
}
