// A second process for the settings store tests, on values under Software\Test:
//   store_helper write-many FILE PREFIX COUNT BATCH  writes the texts PREFIXi=i for i < COUNT, BATCH a save
//   store_helper read FILE NAME                      prints the kind and value of NAME
//   store_helper crash FILE NAME VALUE [batch]       dies before the write of NAME (and another) commits
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

QString shown(const std::optional<StoredValue>& value) {
    if (!value)
        return QStringLiteral("missing");
    if (value->kind == StoredValue::Kind::Text)
        return "text:" + value->text;
    if (value->kind == StoredValue::Kind::Number)
        return "number:" + QString::number(value->number);
    return "bytes:" + QString::fromLatin1(value->bytes.toHex());
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4)
        return 2;
    RegFileStore store(args[2]);
    if (args[1] == QLatin1String("write-many") && args.size() >= 6)
        return writeMany(store, args[3], args[4].toInt(), args[5].toInt());
    if (args[1] == QLatin1String("read")) {
        QTextStream(stdout) << shown(store.readValue(root, testKey, args[3])) << "\n";
        return 0;
    }
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
