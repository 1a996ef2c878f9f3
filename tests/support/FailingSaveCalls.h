#pragma once

#include "os/posix/PosixSaveCalls.h"

#include <QStringList>

#include <cerrno>
#include <csignal>

// While it lives, the failAt-th system call of this process's saves fails with the given error number;
// with error 0 the process is killed as it makes that call. Names the calls made, in order.
class FailingSaveCalls {
public:
    FailingSaveCalls(int failAt, int error) {
        made_.clear(), failAt_ = failAt, error_ = error, real_ = saveCalls;
        wrap<&SaveCalls::readlink, &SaveCalls::stat, &SaveCalls::open, &SaveCalls::fstat,
             &SaveCalls::fallocate, &SaveCalls::write, &SaveCalls::ftruncate, &SaveCalls::fchmod,
             &SaveCalls::fsync, &SaveCalls::close, &SaveCalls::rename>(
            "readlink stat open fstat fallocate write ftruncate fchmod fsync close rename");
    }
    ~FailingSaveCalls() { saveCalls = real_; }
    Q_DISABLE_COPY(FailingSaveCalls)
    static const QStringList& made() { return made_; }

private:
    template <auto... calls> static void wrap(const char* names) {
        int i = 0;
        (wrapOne<calls>(calls, QString(names).split(' ')[i++]), ...);
    }
    template <auto call, typename R, typename... A>
    static void wrapOne(R (*SaveCalls::*)(A...), QString name) {
        static const QString called = name;
        saveCalls.*call = [](A... args) -> R {
            if ((made_ << called).size() != failAt_)
                return (real_.*call)(args...);
            if (error_ == 0)
                std::raise(SIGKILL);
            if (called == QLatin1String("close"))
                (real_.*call)(args...); // Linux frees the descriptor even when its close fails
            errno = error_;
            return R(-1);
        };
    }
    static inline QStringList made_;
    static inline int failAt_ = 0, error_ = 0;
    static inline SaveCalls real_{};
};
