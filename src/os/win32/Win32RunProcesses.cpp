#include "os/RunProcesses.h"

#include <windows.h>

// On Windows a run's processes are held together by a job object: whatever the program starts is in
// the job, also what leaves its console or its parent, and the job ends with the program's own end,
// since the last handle to it closes then.
namespace {
HANDLE runJob = nullptr;
} // namespace

void RunProcesses::becomeSubreaper() {}

void RunProcesses::reapOrphans(pid_t) {}

void RunProcesses::prepare(QProcess&) {
    if (runJob)
        CloseHandle(runJob);
    runJob = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(runJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

void RunProcesses::setProgram(pid_t program) {
    program_ = program;
    if (HANDLE process = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, DWORD(program))) {
        AssignProcessToJobObject(runJob, process);
        CloseHandle(process);
    }
}

QSet<pid_t> RunProcesses::living() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!runJob || !QueryInformationJobObject(runJob, JobObjectBasicAccountingInformation, &accounting,
                                              sizeof accounting, nullptr))
        return {};
    return accounting.ActiveProcesses > 0 ? QSet<pid_t>{program_} : QSet<pid_t>{};
}

// Windows has no request to end that every program heeds: the whole job ends at once.
void RunProcesses::askToEnd() const {
    end();
}

// The program itself is ended apart as well: where the job could not take it in, it still ends.
void RunProcesses::end() const {
    if (runJob)
        TerminateJobObject(runJob, 1);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(program_))) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}
