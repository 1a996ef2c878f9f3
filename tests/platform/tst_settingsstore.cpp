#include "core/Failure.h"
#include "platform/RegFileStore.h"
#include "settings/RegistryApi.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

#include "fuzz/StoreRoundTrip.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedFileAccess.h"

namespace {
const QString testKey = QStringLiteral("Software\\Test");
const QString helperPath = QStringLiteral(STORE_HELPER);
constexpr auto CU = SettingsStore::Root::CurrentUser;

struct Opened {
    explicit Opened(const QString& path) : store(path), api(store) {}
    RegFileStore store;
    RegistryApi api;
};

// What the helper printed, or how it failed to finish.
QString helper(const QStringList& arguments) {
    QProcess process;
    process.start(helperPath, arguments);
    if (!process.waitForFinished(60000))
        return QStringLiteral("timed out");
    if (process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("crashed");
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// "number: description" of the failure the call raised.
QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return QString("%1: %2").arg(failure.number).arg(failure.description);
    }
    return QStringLiteral("no failure");
}

// Another program's write that keeps the file's inode, size and modification time, as a rewrite
// within one timestamp tick does.
bool rewriteKeepingStamp(const QString& path, const QByteArray& from, const QByteArray& to) {
    struct stat before {};
    if (::stat(QFile::encodeName(path).constData(), &before) != 0)
        return false;
    QByteArray bytes = fileBytes(path);
    bytes.replace(from, to);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}
} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.path() + QStringLiteral("/Quenwick/registry.reg"); }

private slots:
    void init() { QFile::remove(path()); }

    void valuesRoundTripThroughTheFile_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<RegValue>("written");
        QTest::addColumn<RegValue>("expected");
        // Without an expected value, the written one comes back.
        const auto row = [](const char* name, int kind, const RegValue& written,
                            const RegValue& expected = {}) {
            QTest::newRow(name) << kind << written << (expected.index() ? expected : written);
        };
        row("escapes and non-ASCII", 1,
            QString::fromUtf8("C:\\Work\\arm.tolv say \"hi\"=@[x] a\nb\r\nc\td\x01 Résumé » 20€ Ω 😀"));
        row("empty text", 1, QString());
        row("1023 characters", 1, QString(1023, 'x'));
        row("1024 characters", 1, QString(1024, 'x'), QString("default"));
        row("\\St", 1, QString("\\St"), QString("\\Stepwell"));
        row("\\st", 1, QString("\\st"));
        row("\\Stx", 1, QString("\\Stx"));
        row("number as text", 1, std::int32_t{7}, QString("7"));
        row("0 bytes", 3, QByteArray());
        row("10 bytes", 3, QByteArray("\x00\x01\xff\n\r\"\\abc", 10));
        row("4096 bytes", 3, QByteArray(4096, '\x7f'));
        row("5000 bytes", 3, QByteArray(5000, '\x7f'), QString("default"));
        row("number 0", 4, std::int32_t{0});
        row("number -1", 4, std::int32_t{-1});
        row("number max", 4, std::int32_t{2147483647});
        row("text for a number", 4, QString(" 12 "), std::int32_t{12});
    }
    void valuesRoundTripThroughTheFile() {
        QFETCH(int, kind);
        QFETCH(RegValue, written);
        QFETCH(RegValue, expected);
        {
            Opened first(path());
            first.api.CreateKey(CU, testKey);
            first.api.SetValue(CU, testKey, "Value", kind, written);
        }
        QCOMPARE(Opened(path()).api.QueryValue(CU, testKey, "Value", kind, QString("default")), expected);
    }

    void textAndNumberStayApartAcrossProcesses() {
        Opened s(path());
        s.api.CreateKey(CU, testKey);
        s.api.SetValue(CU, "software\\TEST", "AsText", 1, QString("41"));
        s.api.SetValue(CU, testKey, "astext", 1, QString("42"));
        s.api.SetValue(CU, testKey, "AsNumber", 4, std::int32_t{42});
        s.api.SetValue(CU, testKey, "AsBytes", 3, QByteArray("\x2a", 1));
        QVERIFY(s.api.KeyExists(CU, "SOFTWARE"));
        // Names are matched in any case and keep their first spelling.
        QVERIFY(fileBytes(path()).contains("[Software\\Test]\n\"AsText\"=\"42\"\n"));
        QVERIFY(!fileBytes(path()).contains("astext"));
        QCOMPARE(helper({"read", path(), "ASTEXT"}), QString("text:42"));
        QCOMPARE(helper({"read", path(), "asnumber"}), QString("number:42"));
        QCOMPARE(helper({"read", path(), "AsBytes"}), QString("bytes:2a"));
    }

    void emptyKeysSurviveAndClassesAreUnderSoftware() {
        {
            Opened first(path());
            first.api.CreateKey(CU, "Software\\Quenwick\\Empty");
            first.api.CreateKey(SettingsStore::Root::ClassesRoot, ".Tolv");
        }
        Opened s(path());
        QVERIFY(s.api.KeyExists(CU, "Software\\Quenwick\\Empty"));
        QVERIFY(s.api.KeyExists(CU, "Software\\Classes\\.tolv"));
        QVERIFY(!s.api.KeyExists(CU, "Software\\Quenwick\\Other"));
    }

    void setValueNeverCreatesAKeyNorWritesAnUnknownKind() {
        Opened s(path());
        s.api.SetValue(CU, testKey, "Value", 1, QString("x"));
        QVERIFY(!QFile::exists(path()));
        QCOMPARE(s.api.QueryValue(CU, testKey, "Value", 4, std::int32_t{9}), RegValue(std::int32_t{9}));
        // The kind is looked at only once the key opened.
        QCOMPARE(s.api.QueryValue(CU, testKey, "Value", 2, QString("d")), RegValue(QString("d")));
        s.api.CreateKey(CU, testKey);
        const QByteArray before = fileBytes(path());
        s.api.SetValue(CU, testKey, "Value", 2, QString("x"));
        QCOMPARE(fileBytes(path()), before);
        QCOMPARE(s.api.QueryValue(CU, testKey, "Value", 1, QString()), RegValue(QString()));
        QCOMPARE(failureOf([&] { s.api.QueryValue(CU, testKey, "Value", 2, QString()); }),
                 QString("1001: Unsupported value type"));
    }

    void createKeyFailsWhenTheStoreCannotBeWritten() {
        QVERIFY(writeFile(dir.path() + "/blocked", "a file where the directory should be"));
        Opened s(dir.path() + "/blocked/registry.reg");
        QCOMPARE(failureOf([&] { s.api.CreateKey(CU, testKey); }),
                 QString("1001: Unable to create the registry key"));
    }

    void aRewriteThatKeepsTheFileStampIsNotMissed() {
        RegFileStore store(path());
        QVERIFY(store.createKey(CU, testKey));
        QVERIFY(store.writeValue(CU, testKey, "Theirs", StoredValue::ofText("aaaa")));
        QVERIFY(rewriteKeepingStamp(path(), "\"aaaa\"", "\"bbbb\""));
        QCOMPARE(store.readValue(CU, testKey, "Theirs")->text, QString("bbbb"));
        QVERIFY(rewriteKeepingStamp(path(), "\"bbbb\"", "\"cccc\""));
        QVERIFY(store.writeValue(CU, testKey, "Mine", StoredValue::ofText("x")));
        QCOMPARE(RegFileStore(path()).readValue(CU, testKey, "Theirs")->text, QString("cccc"));
    }

    void anUnreadableFileIsNeverReplaced() {
        QTemporaryDir shared;
        const QString file = shared.path() + "/registry.reg";
        const QByteArray stored = "Quenwick Settings Store, format 1\n[Software\\Test]\n\"A\"=\"1\"\n";
        QVERIFY(writeFile(file, stored));
        // Anyone may write the file and the directory; no one but root may read the file.
        QVERIFY(::chmod(QFile::encodeName(shared.path()), 0777) == 0);
        QVERIFY(::chmod(QFile::encodeName(file), 0222) == 0);
        {
            UnprivilegedFileAccess other;
            RegFileStore store(file);
            QVERIFY(!store.keyExists(CU, testKey));
            QVERIFY(!store.readValue(CU, testKey, "A"));
            QVERIFY(!store.createKey(CU, "Software\\Other"));
            QVERIFY(!store.writeValue(CU, testKey, "A", StoredValue::ofText("2")));
        }
        QVERIFY(::chmod(QFile::encodeName(file), 0600) == 0);
        QCOMPARE(fileBytes(file), stored);
    }

    void writersInFourProcessesLoseNothing_data() {
        QTest::addColumn<QString>("batch");
        QTest::newRow("one value a write") << "1";
        QTest::newRow("seven values a batch") << "7";
    }
    void writersInFourProcessesLoseNothing() {
        QFETCH(QString, batch);
        RegFileStore store(path());
        QVERIFY(store.createKey(CU, testKey));
        QList<QProcess*> writers;
        for (int p = 0; p < 4; ++p) {
            writers << new QProcess(this);
            writers.last()->start(helperPath, {"write-many", path(), QString("p%1_").arg(p), "200", batch});
        }
        for (QProcess* process : writers) {
            QVERIFY(process->waitForFinished(120000));
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        }
        RegFileStore reader(path());
        for (int p = 0; p < 4; ++p)
            for (int i = 0; i < 200; ++i) {
                const QString name = QString("p%1_%2").arg(p).arg(i);
                const auto value = reader.readValue(CU, testKey, name);
                QVERIFY2(value && value->text == QString::number(i), qPrintable(name));
            }
    }

    void aBatchSavesOnceOrNotAtAll() {
        RegFileStore store(path());
        QVERIFY(store.createKey(CU, testKey));
        int saves = 0;
        store.setBeforeCommit([&saves] { ++saves; });
        QVERIFY(store.batch([&] {
            store.createKey(CU, "Software\\Other");
            QVERIFY(store.keyExists(CU, "Software\\Other")); // seen before the save
            store.writeValue(CU, "Software\\Other", "A", StoredValue::ofText("1"));
            QVERIFY(store.batch([&] { store.writeValue(CU, testKey, "B", StoredValue::ofText("2")); }));
        }));
        QCOMPARE(saves, 1);
        QCOMPARE(RegFileStore(path()).readValue(CU, testKey, "B")->text, QString("2"));
        QVERIFY(store.batch([&] { store.keyExists(CU, testKey); }));
        QCOMPARE(saves, 1); // nothing changed, nothing saved
        const QByteArray before = fileBytes(path());
        QVERIFY_THROWS_EXCEPTION(Failure, store.batch([&] {
            store.writeValue(CU, testKey, "C", StoredValue::ofText("3"));
            throw Failure{57, "x"};
        }));
        QCOMPARE(fileBytes(path()), before);
        QVERIFY(!store.readValue(CU, testKey, "C"));
    }

    void aWriteThatDiesBeforeCommitLeavesThePreviousFile_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::newRow("one write") << QStringList();
        QTest::newRow("a batch") << QStringList{"batch"};
    }
    void aWriteThatDiesBeforeCommitLeavesThePreviousFile() {
        QFETCH(QStringList, extra);
        RegFileStore store(path());
        store.createKey(CU, testKey);
        store.writeValue(CU, testKey, "Kept", StoredValue::ofText("old"));
        const QByteArray before = fileBytes(path());
        QCOMPARE(helper(QStringList{"crash", path(), "Kept", "new"} + extra), QString("crashed"));
        QCOMPARE(fileBytes(path()), before);
        // The lock the dead writer left does not block the next one.
        QVERIFY(store.writeValue(CU, testKey, "Kept", StoredValue::ofText("newer")));
        QCOMPARE(RegFileStore(path()).readValue(CU, testKey, "kept")->text, QString("newer"));
    }

    void theDamageNoticeWaitsForTheLockToBeFree() {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QVERIFY(writeFile(path(), "damaged"));
        RegFileStore store(path());
        bool lockFree = false;
        store.setDamageNotice([&](const QString&, const QString&) {
            QLockFile other(path() + ".lock"); // another program's writer, while the user reads the notice
            lockFree = other.tryLock(0);
        });
        QVERIFY(store.batch([&] { store.createKey(CU, testKey); }));
        QVERIFY(lockFree);
    }

    void aDamagedFileIsKeptAsideAndNeverOverwritten_data() {
        QTest::addColumn<QByteArray>("damaged");
        const QByteArray header = "Quenwick Settings Store, format 1\n";
        QTest::newRow("no header") << QByteArray("[Software\\Test]\n\"A\"=\"1\"\n");
        QTest::newRow("value outside a key") << header + "\"A\"=\"1\"\n";
        QTest::newRow("bad dword") << header + "[K]\n\"A\"=dword:12\n";
        QTest::newRow("open quote") << header + "[K]\n\"A=\"1\n";
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage", 12);
    }
    void aDamagedFileIsKeptAsideAndNeverOverwritten() {
        QFETCH(QByteArray, damaged);
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QVERIFY(writeFile(path(), damaged));
        int notices = 0;
        QString keptAs;
        Opened s(path());
        s.store.setDamageNotice([&](const QString& file, const QString& aside) {
            ++notices;
            QCOMPARE(file, path());
            keptAs = aside;
        });
        QVERIFY(!s.api.KeyExists(CU, "K"));
        QCOMPARE(s.api.QueryValue(CU, "K", "A", 1, QString("default")), RegValue(QString("default")));
        QCOMPARE(notices, 1);
        QVERIFY(keptAs.startsWith(path() + ".damaged-"));
        QCOMPARE(fileBytes(path()), damaged); // reading alone changes nothing

        s.api.CreateKey(CU, testKey);
        s.api.SetValue(CU, testKey, "A", 1, QString("fresh"));
        QCOMPARE(notices, 1);
        QCOMPARE(fileBytes(keptAs), damaged);
        QCOMPARE(s.api.QueryValue(CU, testKey, "A", 1, QString()), RegValue(QString("fresh")));
        QVERIFY(RegDocument::parse(fileBytes(path())).has_value());
    }

    void keptFuzzCorpusRoundTrips() {
        QDirIterator files(QStringLiteral(QT_TESTCASE_SOURCEDIR "/platform/store-corpus"), QDir::Files);
        int parsed = 0;
        RegDocument previous;
        while (files.hasNext()) {
            const QString name = files.next();
            const QByteArray bytes = fileBytes(name);
            QVERIFY2(storeRoundTripHolds(bytes), qPrintable(name));
            const std::optional<RegDocument> document = RegDocument::parse(bytes);
            if (!document)
                continue;
            // Equal exactly when the saved texts are, or the round trip would prove little.
            QCOMPARE(*document == previous, document->serialize() == previous.serialize());
            previous = *document;
            ++parsed;
        }
        QVERIFY(parsed >= 100);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
