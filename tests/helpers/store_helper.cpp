// A second process for the settings store tests:
//   hold FILE [MS]         holds the store's lock, says "held" and keeps it until its input ends, or
//                          for MS milliseconds
//   save FILE TEXT N       saves TEXT as the whole of FILE, and dies at the save's N-th system call
//   store FILE TEXT N      writes A=TEXT under Software\Test into the store FILE, dying likewise
// It answers 0 when the save or write went through, else 1.
#include "os/WholeFileSave.h"
#include "settings/RegFileStore.h"
#include "support/FailingSaveCalls.h"

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
    const FailingSaveCalls dying(args.value(4).toInt(), 0);
    if (args.value(1) == QLatin1String("save"))
        return WholeFileSave(args.value(2)).save(args.value(3).toUtf8()) == WholeFileSave::Outcome::Saved ? 0
                                                                                                          : 1;
    if (args.value(1) == QLatin1String("store"))
        return RegFileStore(args.value(2))
                       .writeValue(SettingsStore::Root::CurrentUser, QStringLiteral("Software\\Test"),
                                   QStringLiteral("A"), StoredValue::ofText(args.value(3)))
                   ? 0
                   : 1;
    return 2;
}
