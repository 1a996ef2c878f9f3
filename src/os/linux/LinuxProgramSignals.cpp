#include "os/ProgramSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
// The signals that end the program, each with what it was before: given back at the end.
struct EndSignal {
    int number;
    struct sigaction found;
};
EndSignal endSignals[] = {{SIGTERM, {}}, {SIGHUP, {}}, {SIGINT, {}}};

// Only what is safe in a signal handler: one byte into the pipe.
void noteSignal(int number) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void handle(int number, struct sigaction& before) {
    if (::sigaction(number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN && number != SIGCHLD)
        return;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | (number == SIGCHLD ? SA_NOCLDSTOP : 0);
    ::sigaction(number, &action, nullptr);
}
} // namespace

ProgramSignals::ProgramSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        qFatal("no pipe for the program's signals");
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ProgramSignals::readSignals);
    for (EndSignal& end : endSignals)
        handle(end.number, end.found);
    struct sigaction child {};
    handle(SIGCHLD, child);
}

// Each end signal goes back to what it was, so one ignored at start stays ignored to the last. The child
// handler stays: QProcess's own, installed later, passes on to it. Without a pipe it writes nowhere.
ProgramSignals::~ProgramSignals() {
    for (const EndSignal& end : endSignals)
        ::sigaction(end.number, &end.found, nullptr);
    const int writeEnd = signalPipe[1];
    signalPipe[1] = -1;
    ::close(writeEnd);
    ::close(signalPipe[0]);
}

void ProgramSignals::readSignals() {
    char numbers[64];
    bool ended = false;
    int end = 0;
    ssize_t count;
    while ((count = ::read(signalPipe[0], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            if (numbers[i] == SIGCHLD)
                ended = true;
            else if (end == 0)
                end = numbers[i];
        }
    }
    if (ended)
        emit childEnded();
    if (end != 0)
        emit endRequested(end);
}
