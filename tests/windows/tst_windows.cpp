// What Windows alone has: the settings store on the registry, the command interpreter's quoting, and
// the job object that ends a whole run.
#include "app/RunWindow.h"
#include "app/qt/QtShell.h"
#include "os/ProcessCommand.h"
#include "os/win32/Win32RegistryStore.h"
#include "settings/RegistryApi.h"
#include "support/TestFiles.h"

#include <QtTest>
#include <QtWidgets>

#include <windows.h>

namespace {
constexpr auto CU = SettingsStore::Root::CurrentUser;
const QString testKey = QStringLiteral("Software\\Quenwick\\TolvikTest");
} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void init() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quenwick\\TolvikTest"); }

    // The three kinds read back as they were written, under a name of any case; a key that is missing
    // takes no value; class keys land in the user's part of the classes root.
    void theRegistryKeepsTheThreeKinds() {
        Win32RegistryStore store;
        QVERIFY(!store.keyExists(CU, testKey) &&
                !store.writeValue(CU, testKey, "A", StoredValue::ofText("x")));
        QVERIFY(store.createKey(CU, testKey + "\\Deeper") && store.keyExists(CU, testKey));
        for (const auto& [name, value] :
             {std::pair{QString("FileIn"), StoredValue::ofText(QString::fromUtf8("Zoë & co.tolv"))},
              {"Bytes", StoredValue::ofBytes(QByteArray("\x01\x00\xff", 3))},
              {"Count", StoredValue::ofNumber(-7)},
              {"", StoredValue::ofText("default")}}) {
            QVERIFY(store.writeValue(CU, testKey, name, value));
            QVERIFY2(store.readValue(CU, testKey, name.toUpper()) == value, qPrintable(name)); // in any case
        }
        QVERIFY(!store.readValue(CU, testKey, "Missing"));
        RegistryApi registry(store);
        registry.SetValue(CU, testKey, "RunCount", RegistryApi::TextKind, std::int32_t{5});
        QCOMPARE(regValueText(registry.QueryValue(CU, testKey, "runcount", RegistryApi::TextKind, QString())),
                 QString("5"));
        QVERIFY(store.createKey(SettingsStore::Root::ClassesRoot, "Software\\Quenwick\\TolvikTest\\.Tolv"));
        QVERIFY(store.keyExists(CU, "Software\\Classes\\Software\\Quenwick\\TolvikTest\\.Tolv"));
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\Software\\Quenwick\\TolvikTest");
    }

    // Names with the interpreter's own characters reach a batch file whole and start nothing.
    void batchFilesGetEveryNameWhole() {
        QTemporaryDir dir;
        // The batch file itself takes its arguments in quotes and shows them through delayed expansion.
        QVERIFY(writeFile(dir.path() + "/args.bat", "@echo off\r\nset \"a=%~1\"\r\nset \"b=%~2\"\r\n"
                                                    "setlocal EnableDelayedExpansion\r\n"
                                                    ">> args.txt echo [!a!] [!b!]\r\n"));
        const QStringList names{"a & echo hacked> hacked.txt", "b | c ^ d (e) %PATH% 100%"};
        QProcess process;
        process.setWorkingDirectory(dir.path());
        setProcessCommand(process, dir.path() + "/args.bat", names);
        process.start();
        QVERIFY(process.waitForFinished(60000));
        const QString received = QString::fromLocal8Bit(fileBytes(dir.path() + "/args.txt")).trimmed();
        QVERIFY2(received.startsWith("[" + names[0] + "] [b | c ^ d (e) "), qPrintable(received));
        // A variable's name in a file name is never replaced by its value.
        QVERIFY2(!received.contains(qEnvironmentVariable("PATH").left(8), Qt::CaseInsensitive),
                 qPrintable(received));
        QVERIFY(!QFile::exists(dir.path() + "/hacked.txt"));
    }

    // Stop ends the run and what it started, through the job object.
    void stopEndsTheWholeRun() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.path() + "/loop.bat", "@echo off\r\necho ready\r\n:again\r\ngoto again\r\n"));
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [] {
            auto* window = qobject_cast<RunWindow*>(QApplication::activeModalWidget());
            if (!window)
                return;
            auto* button = window->findChild<QPushButton*>("stop");
            button->click(); // Stop, and Close once the run has ended
        });
        poll.start(200);
        const RunEnd end = QtShell().runAndWait(
            "cmd", {"/C", QDir::toNativeSeparators(dir.path() + "/loop.bat")}, dir.path());
        QCOMPARE(int(end.state), int(RunEnd::State::Stopped));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
