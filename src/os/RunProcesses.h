#pragma once

#include <QByteArray>
#include <QProcess>
#include <QSet>

#include <sys/types.h>

// Every process of one run: the program, what it started, and also what left its process group (a
// helper started with setsid) or lost its parent. How a system keeps hold of them is its own: on Linux
// the program is a child subreaper, so a process whose parent ended comes back to it rather than to
// init; on Windows the run lives in a job object.
class RunProcesses {
public:
    // Once, at the program's start.
    static void becomeSubreaper();
    // Collects the ended processes that came back to this program; keep is left to its QProcess.
    static void reapOrphans(pid_t keep);

    // Just before the program starts: the children this program has already (editors, viewers) are
    // not the run's, nor is what they start. The program gets a process group of its own and an
    // environment variable that marks all it starts: a process that comes back to this program counts
    // as the run's only when it carries the mark.
    void prepare(QProcess& process);
    void setProgram(pid_t program);
    // The run's processes that have not ended.
    QSet<pid_t> living() const;
    // Asks the program's process group and every living process of the run to end (TERM).
    void askToEnd() const;
    // Ends them now (KILL).
    void end() const;

private:
    void signal(int number) const;

    pid_t program_ = 0;
    QSet<pid_t> earlierChildren_;
    QByteArray mark_;
};
