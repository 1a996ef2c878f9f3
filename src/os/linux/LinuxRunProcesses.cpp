#include "os/RunProcesses.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct ProcessEntry {
    pid_t parent = 0;
    bool ended = false; // a zombie, waiting to be collected
};

// Every process of the system, from /proc: its parent and whether it has ended.
QHash<pid_t, ProcessEntry> processTable() {
    QHash<pid_t, ProcessEntry> table;
    const QStringList names = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool number = false;
        const pid_t pid = name.toInt(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/") + name + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state parent ...": the name may hold blanks and parentheses.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            table.insert(pid, ProcessEntry{static_cast<pid_t>(fields[1].toInt()), fields[0] == "Z"});
    }
    return table;
}

bool carries(pid_t pid, const QByteArray& mark) {
    QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
    return environment.open(QIODevice::ReadOnly) && environment.readAll().split('\0').contains(mark);
}

QSet<pid_t> childrenOf(const QHash<pid_t, ProcessEntry>& table, pid_t parent) {
    QSet<pid_t> children;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        if (it->parent == parent)
            children.insert(it.key());
    return children;
}
} // namespace

void RunProcesses::becomeSubreaper() {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

void RunProcesses::reapOrphans(pid_t keep) {
    const QHash<pid_t, ProcessEntry> table = processTable();
    for (const pid_t child : childrenOf(table, ::getpid()))
        if (child != keep && table[child].ended)
            ::waitpid(child, nullptr, WNOHANG);
}

void RunProcesses::prepare(QProcess& process) {
    static int runs = 0;
    const QString name = QStringLiteral("TOLVIK_RUN");
    const QString value = QString::number(::getpid()) + QLatin1Char('.') + QString::number(++runs);
    mark_ = (name + QLatin1Char('=') + value).toLatin1();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(name, value);
    process.setProcessEnvironment(environment);
    // Its own process group, so that Stop reaches whatever it starts at once.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    earlierChildren_ = childrenOf(processTable(), ::getpid());
}

void RunProcesses::setProgram(pid_t program) {
    program_ = program;
}

QSet<pid_t> RunProcesses::living() const {
    const QHash<pid_t, ProcessEntry> table = processTable();
    QList<pid_t> found;
    if (program_ > 0 && table.contains(program_))
        found << program_;
    for (const pid_t child : childrenOf(table, ::getpid()))
        if (child != program_ && !earlierChildren_.contains(child) && carries(child, mark_))
            found << child;
    for (qsizetype i = 0; i < found.size(); ++i)
        for (const pid_t child : childrenOf(table, found[i]))
            found << child;
    QSet<pid_t> run;
    for (const pid_t pid : found)
        if (!table[pid].ended)
            run.insert(pid);
    return run;
}

void RunProcesses::askToEnd() const {
    signal(SIGTERM);
}

void RunProcesses::end() const {
    signal(SIGKILL);
}

void RunProcesses::signal(int number) const {
    if (program_ > 0)
        ::kill(-program_, number);
    for (const pid_t pid : living())
        ::kill(pid, number);
}
