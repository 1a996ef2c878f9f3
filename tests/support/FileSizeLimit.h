#pragma once

#include <QtGlobal>

#include <csignal>

#include <sys/resource.h>

// While it lives, no file of this process grows past the given size: a write beyond it fails with
// EFBIG, as a write to a full disk fails with ENOSPC, and without root or a file system of its own.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN); // the signal would end the test; ignored, the write fails instead
        getrlimit(RLIMIT_FSIZE, &before_);
        const rlimit limit{bytes, before_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &before_); }
    Q_DISABLE_COPY(FileSizeLimit)

private:
    rlimit before_{};
};
