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
constexpr auto CU = SettingsStore::Root::CurrentUser;

QString helper(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(STORE_HELPER), arguments);
    if (!process.waitForFinished(60000))
        return QStringLiteral("timed out");
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
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
        const RegValue none;
        QTest::newRow("backslashes") << 1 << RegValue(QString("C:\\Work\\arm.tolv"))
                                     << RegValue(QString("C:\\Work\\arm.tolv"));
        QTest::newRow("quotes") << 1 << RegValue(QString("say \"hi\"=@[x]"))
                                << RegValue(QString("say \"hi\"=@[x]"));
        QTest::newRow("newlines") << 1 << RegValue(QString("a\nb\r\nc\td\x01"))
                                  << RegValue(QString("a\nb\r\nc\td\x01"));
        QTest::newRow("non-ASCII") << 1 << RegValue(QString::fromUtf8("Résumé » 20€ Ω 😀"))
                                   << RegValue(QString::fromUtf8("Résumé » 20€ Ω 😀"));
        QTest::newRow("empty text") << 1 << RegValue(QString()) << RegValue(QString());
        QTest::newRow("1023 characters") << 1 << RegValue(QString(1023, 'x')) << RegValue(QString(1023, 'x'));
        QTest::newRow("1024 characters") << 1 << RegValue(QString(1024, 'x')) << RegValue(QString("default"));
        QTest::newRow("\\St") << 1 << RegValue(QString("\\St")) << RegValue(QString("\\Stepwell"));
        QTest::newRow("\\st") << 1 << RegValue(QString("\\st")) << RegValue(QString("\\st"));
        QTest::newRow("\\Stx") << 1 << RegValue(QString("\\Stx")) << RegValue(QString("\\Stx"));
        QTest::newRow("number as text") << 1 << RegValue(std::int32_t{7}) << RegValue(QString("7"));
        QTest::newRow("0 bytes") << 3 << RegValue(QByteArray()) << RegValue(QByteArray());
        QTest::newRow("10 bytes") << 3 << RegValue(QByteArray("\x00\x01\xff\n\r\"\\abc", 10))
                                  << RegValue(QByteArray("\x00\x01\xff\n\r\"\\abc", 10));
        QTest::newRow("4096 bytes") << 3 << RegValue(QByteArray(4096, '\x7f'))
                                    << RegValue(QByteArray(4096, '\x7f'));
        QTest::newRow("5000 bytes") << 3 << RegValue(QByteArray(5000, '\x7f'))
                                    << RegValue(QString("default"));
        QTest::newRow("number 0") << 4 << RegValue(std::int32_t{0}) << RegValue(std::int32_t{0});
        QTest::newRow("number 42") << 4 << RegValue(std::int32_t{42}) << RegValue(std::int32_t{42});
        QTest::newRow("number -1") << 4 << RegValue(std::int32_t{-1}) << RegValue(std::int32_t{-1});
        QTest::newRow("number max") << 4 << RegValue(std::int32_t{2147483647})
                                    << RegValue(std::int32_t{2147483647});
        QTest::newRow("text for a number") << 4 << RegValue(QString(" 12 ")) << RegValue(std::int32_t{12});
    }
    void valuesRoundTripThroughTheFile() {
        QFETCH(int, kind);
        QFETCH(RegValue, written);
        QFETCH(RegValue, expected);
        {
            RegFileStore store(path());
            RegistryApi api(store);
            api.CreateKey(CU, testKey);
            api.SetValue(CU, testKey, "Value", kind, written);
        }
        RegFileStore reopened(path());
        RegistryApi api(reopened);
        QCOMPARE(api.QueryValue(CU, testKey, "Value", kind, QString("default")), expected);
    }

    void textAndNumberStayApartAcrossProcesses() {
        RegFileStore store(path());
        RegistryApi api(store);
        api.CreateKey(CU, testKey);
        api.SetValue(CU, testKey, "AsText", 1, QString("42"));
        api.SetValue(CU, testKey, "AsNumber", 4, std::int32_t{42});
        api.SetValue(CU, testKey, "AsBytes", 3, QByteArray("\x2a", 1));
        QCOMPARE(helper({"read", path(), "astext"}), QString("text:42"));
        QCOMPARE(helper({"read", path(), "ASNUMBER"}), QString("number:42"));
        QCOMPARE(helper({"read", path(), "AsBytes"}), QString("bytes:2a"));
    }

    void namesAreCaseInsensitiveAndKeepTheirFirstSpelling() {
        RegFileStore store(path());
        RegistryApi api(store);
        api.CreateKey(CU, "Software\\Quenwick\\Tolvik");
        api.SetValue(CU, "software\\QUENWICK\\tolvik", "FileIn", 1, QString("a.tolv"));
        api.SetValue(CU, "Software\\Quenwick\\Tolvik", "fileIn", 1, QString("b.tolv"));
        QCOMPARE(api.QueryValue(CU, "Software\\Quenwick\\Tolvik", "FILEIN", 1, QString()),
                 RegValue(QString("b.tolv")));
        QVERIFY(api.KeyExists(CU, "SOFTWARE\\quenwick"));
        const QByteArray text = fileBytes(path());
        QVERIFY(text.contains("[Software\\Quenwick\\Tolvik]\n\"FileIn\"=\"b.tolv\"\n"));
        QVERIFY(!text.contains("fileIn"));
        QVERIFY(text.startsWith("Quenwick Settings Store, format 1\n"));
    }

    void emptyKeysSurviveAndMissingOnesGiveDefaults() {
        {
            RegFileStore store(path());
            RegistryApi api(store);
            api.CreateKey(CU, "Software\\Quenwick\\Empty");
            api.CreateKey(CU, "Classes\\x");
            api.CreateKey(SettingsStore::Root::ClassesRoot, ".Tolv");
        }
        RegFileStore store(path());
        RegistryApi api(store);
        QVERIFY(api.KeyExists(CU, "Software\\Quenwick\\Empty"));
        QVERIFY(api.KeyExists(SettingsStore::Root::ClassesRoot, ".tolv"));
        QVERIFY(api.KeyExists(CU, "Software\\Classes\\.Tolv"));
        QVERIFY(!api.KeyExists(CU, "Software\\Quenwick\\Other"));
        QCOMPARE(api.QueryValue(CU, "Software\\Quenwick\\Empty", "none", 1, QString()), RegValue(QString()));
        QCOMPARE(api.QueryValue(CU, "Software\\Missing", "none", 4, std::int32_t{9}),
                 RegValue(std::int32_t{9}));
        // The kind is looked at only once the key opened.
        QCOMPARE(api.QueryValue(CU, "Software\\Missing", "none", 2, QString("d")), RegValue(QString("d")));
        try {
            api.QueryValue(CU, "Software\\Quenwick\\Empty", "none", 2, QString("d"));
            QFAIL("kind 2 was accepted");
        } catch (const Failure& failure) {
            QCOMPARE(failure.number, 1001);
            QCOMPARE(failure.description, QString("Unsupported value type"));
        }
    }

    void setValueNeverCreatesAKeyNorWritesAnUnknownKind() {
        RegFileStore store(path());
        RegistryApi api(store);
        api.SetValue(CU, testKey, "Value", 1, QString("x"));
        QVERIFY(!QFile::exists(path()));
        api.CreateKey(CU, testKey);
        const QByteArray before = fileBytes(path());
        api.SetValue(CU, testKey, "Value", 2, QString("x"));
        QCOMPARE(fileBytes(path()), before);
        QVERIFY(!api.KeyExists(CU, "Software\\Other"));
    }

    void createKeyFailsWhenTheStoreCannotBeWritten() {
        QDir().mkpath(dir.path() + "/blocked");
        QVERIFY(writeFile(dir.path() + "/blocked/Quenwick", "a file where the directory should be"));
        RegFileStore store(dir.path() + "/blocked/Quenwick/registry.reg");
        RegistryApi api(store);
        try {
            api.CreateKey(CU, testKey);
            QFAIL("the key was reported as created");
        } catch (const Failure& failure) {
            QCOMPARE(failure.number, 1001);
            QCOMPARE(failure.description, QString("Unable to create the registry key"));
        }
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

    void anUnreadableFileIsNeverReplaced_data() {
        QTest::addColumn<bool>("directory");
        QTest::newRow("write-only file") << false;
        QTest::newRow("directory") << true;
    }
    void anUnreadableFileIsNeverReplaced() {
        QFETCH(bool, directory);
        QTemporaryDir shared;
        const QString file = shared.path() + "/registry.reg";
        const QByteArray stored = "Quenwick Settings Store, format 1\n[Software\\Test]\n\"A\"=\"1\"\n";
        QVERIFY(directory ? QDir().mkpath(file) : writeFile(file, stored));
        const auto writeOnly = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        const auto readAndEnter = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner |
                                  QFile::ExeGroup | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(shared.path(), writeOnly | readAndEnter));
        QVERIFY(directory || QFile::setPermissions(file, writeOnly));
        {
            UnprivilegedFileAccess other;
            RegFileStore store(file);
            QVERIFY(!store.keyExists(CU, testKey));
            QVERIFY(!store.readValue(CU, testKey, "A"));
            QVERIFY(!store.createKey(CU, "Software\\Other"));
            QVERIFY(!store.writeValue(CU, testKey, "A", StoredValue::ofText("2")));
        }
        if (directory) {
            QVERIFY(QDir(file).isEmpty());
        } else {
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
            QCOMPARE(fileBytes(file), stored);
        }
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
            auto* process = new QProcess(this);
            process->start(QStringLiteral(STORE_HELPER),
                           {"write-many", path(), QString("p%1_").arg(p), QString::number(200), batch});
            writers << process;
        }
        for (QProcess* process : writers) {
            QVERIFY(process->waitForFinished(120000));
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        }
        QVERIFY(RegDocument::parse(fileBytes(path())).has_value());
        RegFileStore reader(path());
        for (int p = 0; p < 4; ++p)
            for (int i = 0; i < 200; ++i) {
                const auto value = reader.readValue(CU, testKey, QString("p%1_%2").arg(p).arg(i));
                QVERIFY2(value && value->text == QString::number(i),
                         qPrintable(QString("p%1_%2").arg(p).arg(i)));
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
        QProcess process;
        process.start(QStringLiteral(STORE_HELPER), QStringList{"crash", path(), "Kept", "new"} + extra);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
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
        QTest::newRow("no header") << QByteArray("[Software\\Test]\n\"A\"=\"1\"\n");
        QTest::newRow("value outside a key")
            << QByteArray("Quenwick Settings Store, format 1\n\"A\"=\"1\"\n");
        QTest::newRow("bad dword") << QByteArray("Quenwick Settings Store, format 1\n[K]\n\"A\"=dword:12\n");
        QTest::newRow("open quote") << QByteArray("Quenwick Settings Store, format 1\n[K]\n\"A=\"1\n");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage", 12);
    }
    void aDamagedFileIsKeptAsideAndNeverOverwritten() {
        QFETCH(QByteArray, damaged);
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QVERIFY(writeFile(path(), damaged));
        int notices = 0;
        QString keptAs;
        RegFileStore store(path());
        store.setDamageNotice([&](const QString& file, const QString& aside) {
            ++notices;
            QCOMPARE(file, path());
            keptAs = aside;
        });
        RegistryApi api(store);
        QVERIFY(!api.KeyExists(CU, "K"));
        QCOMPARE(api.QueryValue(CU, "K", "A", 1, QString("default")), RegValue(QString("default")));
        QCOMPARE(notices, 1);
        QVERIFY(keptAs.startsWith(path() + ".damaged-"));
        QCOMPARE(fileBytes(path()), damaged); // reading alone changes nothing

        api.CreateKey(CU, testKey);
        api.SetValue(CU, testKey, "A", 1, QString("fresh"));
        QCOMPARE(notices, 1);
        QCOMPARE(fileBytes(keptAs), damaged);
        QCOMPARE(api.QueryValue(CU, testKey, "A", 1, QString()), RegValue(QString("fresh")));
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
