#include "core/Failure.h"
#include "os/WholeFileSave.h"
#include "settings/RegFileStore.h"
#include "settings/RegistryApi.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

#include "support/FailingSaveCalls.h"
#include "support/FileSizeLimit.h"
#include "support/HeldStoreLock.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedFileAccess.h"

namespace {
const QString testKey = QStringLiteral("Software\\Test");
constexpr auto CU = SettingsStore::Root::CurrentUser;

// Another program's write that keeps the file's inode, size and modification time, as a rewrite
// within one timestamp tick does.
bool rewriteKeepingStamp(const QString& path, const QByteArray& from, const QByteArray& to) {
    struct stat before {};
    if (::stat(QFile::encodeName(path), &before) != 0 || !writeFile(path, fileBytes(path).replace(from, to)))
        return false;
    const timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path), times, 0) == 0;
}
} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.path() + QStringLiteral("/registry.reg"); }

private slots:
    void init() { QFile::remove(path()); }

    void valuesRoundTripThroughTheFile_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<RegValue>("written");
        QTest::addColumn<RegValue>("expected");
        QTest::addColumn<int>("readKind");
        // Without an expected value, the written one comes back; it is read as written, or as readKind.
        const auto row = [](const char* name, int kind, const RegValue& written,
                            const RegValue& expected = {}, int readKind = 0) {
            QTest::newRow(name) << kind << written << (expected.index() ? expected : written)
                                << (readKind ? readKind : kind);
        };
        row("escapes and non-ASCII", 1,
            QString::fromUtf8("C:\\Work\\arm.tolv say \"hi\"=@[x] a\nb\r\nc\td\x01 Résumé » 20€ Ω 😀"));
        row("1023 characters", 1, QString(1023, 'x'));
        row("1024 characters", 1, QString(1024, 'x'), QString("default"));
        row("\\St", 1, QString("\\St"), QString("\\Stepwell"));
        row("\\st", 1, QString("\\st"));
        row("\\Stx", 1, QString("\\Stx"));
        row("0 bytes", 3, QByteArray());
        row("10 bytes", 3, QByteArray("\x00\x01\xff\n\r\"\\abc", 10));
        row("4096 bytes", 3, QByteArray(4096, '\x7f'));
        row("4097 bytes", 3, QByteArray(4097, '\x7f'), QString("default"));
        // Bytes read as text fill the text buffer with their last, terminating byte.
        row("1024 bytes as text", 3, QByteArray(1023, 'a') + '\0', QString(1023, 'a'), 1);
        row("1025 bytes as text", 3, QByteArray(1024, 'a') + '\0', QString("default"), 1);
        row("number -1", 4, std::int32_t{-1});
        row("text for a number", 4, QString(" 12 "), std::int32_t{12});
    }
    void valuesRoundTripThroughTheFile() {
        QFETCH(int, kind);
        QFETCH(RegValue, written);
        QFETCH(RegValue, expected);
        QFETCH(int, readKind);
        RegFileStore firstStore(path()), secondStore(path());
        RegistryApi first(firstStore), second(secondStore);
        first.CreateKey(CU, testKey);
        first.SetValue(CU, "software\\TEST", "value", kind, written); // keys and names in any case
        QCOMPARE(second.QueryValue(CU, testKey, "Value", readKind, QString("default")), expected);
        QVERIFY(fileBytes(path()).contains("[Software\\Test]\n\"value\"=")); // the first spellings stay
    }

    // Values go into existing keys only, and only of the kinds the store keeps.
    void writesNeedAKeyAndAKnownKind() {
        RegFileStore store(path());
        RegistryApi s(store);
        s.SetValue(CU, testKey, "Value", 1, QString("x"));
        QVERIFY(!QFile::exists(path()));
        s.CreateKey(CU, testKey);
        s.SetValue(CU, testKey, "Value", 2, QString("x"));
        QCOMPARE(s.QueryValue(CU, testKey, "Value", 1, QString("none")), RegValue(QString("none")));
        QVERIFY_THROWS_EXCEPTION(Failure, s.QueryValue(CU, testKey, "Value", 2, QString()));
    }

    void anUnreadableFileIsNeverReplaced() {
        const QByteArray stored = "Quenwick Settings Store, format 1\n[Software\\Test]\n\"A\"=\"1\"\n";
        // Anyone may write the file and the directory; no one but root may read the file.
        QVERIFY(writeFile(path(), stored) && ::chmod(QFile::encodeName(dir.path()), 0777) == 0 &&
                ::chmod(QFile::encodeName(path()), 0222) == 0);
        {
            UnprivilegedFileAccess other;
            RegFileStore store(path());
            QVERIFY(!store.keyExists(CU, testKey) && !store.createKey(CU, "Software\\Other") &&
                    !store.writeValue(CU, testKey, "A", StoredValue::ofText("2")));
            // The key it cannot see is no reason to drop the value quietly.
            QString refused;
            try {
                RegistryApi(store).SetValue(CU, testKey, "A", RegistryApi::TextKind, QString("2"));
            } catch (const Failure& failure) {
                refused = QString::number(failure.number) + ' ' + failure.description;
            }
            QCOMPARE(refused, "1001 Unable to write the registry value: " + path() + " cannot be read");
        }
        QVERIFY(::chmod(QFile::encodeName(path()), 0600) == 0);
        QCOMPARE(fileBytes(path()), stored);
    }

    // Nothing of a batch is kept when it fails, and no write or read works on old contents. Batches that
    // are saved are counted by tst_settings' start-up.
    void neitherUnfinishedBatchesNorOldContents() {
        RegFileStore store(path());
        QVERIFY(store.createKey(CU, testKey) &&
                store.writeValue(CU, testKey, "Kept", StoredValue::ofText("aaaa")));
        const QByteArray before = fileBytes(path());
        QVERIFY_THROWS_EXCEPTION(Failure, store.batch([&] {
            store.writeValue(CU, testKey, "C", StoredValue::ofText("3"));
            throw Failure{57, "x"};
        }));
        QCOMPARE(fileBytes(path()), before);
        QVERIFY(!store.readValue(CU, testKey, "C"));
        QVERIFY(rewriteKeepingStamp(path(), "\"aaaa\"", "\"bbbb\""));
        QCOMPARE(store.readValue(CU, testKey, "Kept")->text, QString("bbbb"));
        QVERIFY(rewriteKeepingStamp(path(), "\"bbbb\"", "\"cccc\""));
        QVERIFY(store.writeValue(CU, testKey, "Mine", StoredValue::ofText("x")));
        QCOMPARE(RegFileStore(path()).readValue(CU, testKey, "kept")->text, QString("cccc"));
    }

    // Each system call of a save fails in turn, then the process dies at it, until the save gets through;
    // last, a write fails for real. The file is whole, old or new, with its mode; a failure is reported
    // with its error number and leaves nothing beside the file. A death may leave the temporary file, and
    // the lock it held blocks no one.
    void aSaveFailingOrDyingAtAnyCallLeavesAWholeFile_data() {
        QTest::addColumn<QString>("how"); // save: WholeFileSave as input files use it, store: a store write
        QTest::addColumn<int>("mode");    // the old file's; none: a new file, 0644 under the umask 022
        QTest::addColumn<bool>("linked"); // saved through a symbolic link to the file
        QTest::newRow("new file") << "save" << 0 << false;
        QTest::newRow("mode kept") << "save" << 0640 << false;
        QTest::newRow("through a link") << "save" << 0604 << true;
        QTest::newRow("store") << "store" << 0600 << false;
    }
    void aSaveFailingOrDyingAtAnyCallLeavesAWholeFile() {
        QFETCH(QString, how);
        QFETCH(int, mode);
        QFETCH(bool, linked);
        const mode_t umaskBefore = ::umask(022);
        const QString at = linked ? dir.path() + "/link" : path(),
                      text = how == "store" ? QString(200, 'n') : "new";
        // A store larger than its lock file, so that a disk too full for it still takes the lock.
        const auto store = [](char c) {
            return "Quenwick Settings Store, format 1\n\n[Software\\Test]\n\"A\"=\"" + QByteArray(200, c) +
                   "\"\n";
        };
        const QByteArray old = how == "store" ? store('o') : QByteArray(mode ? "old" : "");
        const QByteArray saved = how == "store" ? store('n') : QByteArray("new");
        const auto reset = [&] {
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System))
                if (!name.endsWith(".lock"))
                    QFile::remove(dir.filePath(name));
            if (mode)
                writeFile(path(), old), ::chmod(QFile::encodeName(path()), mode);
            if (linked)
                ::symlink("registry.reg", QFile::encodeName(at));
        };
        const auto attemptOnce = [&](int failAt) -> QString {
            const FailingSaveCalls failing(failAt, EIO);
            if (how == "store")
                return RegFileStore(at).writeValue(CU, testKey, "A", StoredValue::ofText(text)) ? "saved"
                                                                                                : "failed";
            WholeFileSave file(at);
            file.setDirectWriteFallback(true);
            const int outcome = int(file.save(saved));
            return QStringList{"saved", "not opened", "not written"}[outcome] + ' ' +
                   QString::number(file.error());
        };
        const auto attempt = [&](int failAt) {
            const auto descriptors = [] { return QDir("/proc/self/fd").count(); };
            const qsizetype before = descriptors();
            const QString outcome = attemptOnce(failAt);
            return (descriptors() == before ? "" : "leaks a descriptor: ") + outcome;
        };
        // The file, old or new, and its mode; a link replaced; what a failure left beside the file.
        const auto left = [&](bool dies) {
            const QByteArray bytes = fileBytes(path());
            struct stat status {};
            const QStringList beside = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
            return (bytes == saved ? " new "
                    : bytes == old ? " old "
                                   : " damaged ") +
                   QString::number(::stat(QFile::encodeName(path()), &status) ? 0 : status.st_mode & 0777,
                                   8) +
                   (linked && !QFileInfo(at).isSymLink() ? " link replaced" : "") +
                   (dies ? "" : beside.filter(QRegularExpression("^registry\\.reg\\.(?!lock$)")).join(' '));
        };
        reset();
        const QString first = attempt(0).section(' ', 0, 0); // before the file is looked at
        QCOMPARE(first + left(false), "saved new " + QString::number(mode ? mode : 0644, 8));
        const QStringList calls = FailingSaveCalls::made();
        const qsizetype opened = calls.indexOf("open") + 1, renamed = calls.indexOf("rename") + 1;
        QVERIFY(0 < opened && opened < renamed);
        for (const bool dies : {false, true}) {
            for (int n = 1; n <= calls.size(); ++n) {
                reset();
                const QString call =
                    QString("%1 %2 at %3: ").arg(dies ? "dies" : "fails", calls[n - 1]).arg(n);
                const QString answer = dies ? QString::number(QProcess::execute(
                                                  STORE_HELPER, {how, at, text, QString::number(n)}))
                                            : attempt(n);
                const QString expected =
                    dies             ? "-1"
                    : how == "store" ? "failed"
                                     : (n <= opened ? "not opened " : "not written ") + QString::number(EIO);
                QCOMPARE(call + answer + left(dies),
                         call + expected + (n > renamed ? " new " : " old ") +
                             QString::number(n > renamed && !mode ? 0644 : mode, 8));
            }
        }
        reset();
        const FileSizeLimit full(saved.size() - 1);
        const QString answer = attempt(0);
        QCOMPARE(answer + left(false), (how == "store" ? "failed" : "not written " + QString::number(EFBIG)) +
                                           " old " + QString::number(mode, 8));
        ::umask(umaskBefore);
    }

    // Where no file may be made beside it, a file is written in place: a call that fails before the
    // first byte of it is written leaves it byte for byte.
    void anInPlaceSaveFailingBeforeItWritesKeepsTheFile() {
        const QTemporaryDir locked;
        const QString at = locked.path() + "/mine.tolv";
        QVERIFY(writeFile(at, "old") && ::chmod(QFile::encodeName(at), 0666) == 0 &&
                ::chmod(QFile::encodeName(locked.path()), 0555) == 0);
        const auto unlock = qScopeGuard([&] { ::chmod(QFile::encodeName(locked.path()), 0700); });
        const auto save = [&](int failAt) {
            const UnprivilegedFileAccess user; // root could make files anywhere
            const FailingSaveCalls failing(failAt, EIO);
            WholeFileSave file(at);
            file.setDirectWriteFallback(true);
            return file.save("new, and longer") == WholeFileSave::Outcome::Saved;
        };
        QVERIFY(save(0));
        const QStringList calls = FailingSaveCalls::made();
        QVERIFY(calls.contains("fstat") && calls.contains("fallocate"));
        QString left;
        for (int n = 1; n <= calls.indexOf("write"); ++n) {
            QVERIFY(writeFile(at, "old") && !save(n));
            left += calls[n - 1] + ": " + fileBytes(at) + " ";
        }
        QCOMPARE(left, "readlink: old stat: old open: old open: old fstat: old fallocate: old ");
        // A directory that may be written but not read still takes a new file in place of the old.
        QVERIFY(::chmod(QFile::encodeName(locked.path()), 0733) == 0 && save(0));
        QCOMPARE(fileBytes(at), "new, and longer");
    }

    // Each command's first wait for another program's lock lasts the whole wait, also after a command that
    // gave up: the lock is let go well within it (and well after a twentieth of it). A write that gives up
    // fails and leaves the file byte for byte; the next write of that command hardly waits.
    void eachCommandWaitsItsWholeTimeForTheLock() {
        RegFileStore store(path());
        QVERIFY(store.createKey(CU, testKey) &&
                store.writeValue(CU, testKey, "Kept", StoredValue::ofText("k")));
        QString written;
        store.setWaitNotice([&](bool waiting) { written += waiting ? " wait" : " done"; });
        for (const int held : {1500, -1, 1500}) {
            store.commandStarted();
            store.setLockWait(held < 0 ? 300 : 8000);
            const QByteArray before = fileBytes(path());
            const HeldStoreLock lock(STORE_HELPER, path(), held);
            QVERIFY(lock.held());
            for (int write = 0; write < (held < 0 ? 2 : 1); ++write)
                written += store.writeValue(CU, testKey, "A", StoredValue::ofText("x")) ? " 1" : " 0";
            if (held < 0)
                QCOMPARE(fileBytes(path()), before);
        }
        QCOMPARE(written, QString(" wait done 1 wait done 0 wait done 0 wait done 1"));
        QVERIFY(RegFileStore(path()).readValue(CU, testKey, "Kept"));
    }

    void aDamagedFileIsKeptAsideAndNeverOverwritten() {
        const QByteArray header = "Quenwick Settings Store, format 1\n";
        // No header, a value outside a key, an open quote.
        for (const QByteArray& damaged : {QByteArray("[Software\\Test]\n\"A\"=\"1\"\n"),
                                          header + "\"A\"=\"1\"\n", header + "[K]\n\"A=\"1\n"}) {
            QVERIFY(writeFile(path(), damaged));
            // Per notice: whether another writer could take the lock, and the file kept aside.
            QStringList told;
            const auto notice = [&](const QString& file, const QString& aside) {
                // Another program's writer must not wait while the user reads the notice.
                told << QString::number(file == path() && QLockFile(path() + ".lock").tryLock(0)) + ' ' +
                            aside;
            };
            RegFileStore reader(path()), writer(path());
            reader.setDamageNotice(notice);
            writer.setDamageNotice(notice);
            QVERIFY(!reader.keyExists(CU, "K") && told.size() == 1);
            QCOMPARE(fileBytes(path()), damaged); // reading alone changes nothing
            QVERIFY(writer.createKey(CU, testKey) && reader.keyExists(CU, testKey)); // told during a write
            QCOMPARE(told.size(), 2);                                                // once for each store
            QVERIFY(told[1].startsWith("1 " + path() + ".damaged-"));
            QCOMPARE(fileBytes(told[1].mid(2)), damaged);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
