#pragma once

#include <sys/resource.h>

// While it lives, no file of this process grows past the given size: a write beyond it fails with
// EFBIG, as a write to a full disk fails with ENOSPC, and without root or a file system of its own.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
};
