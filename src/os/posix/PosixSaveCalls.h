#pragma once

#include <sys/stat.h>
#include <sys/types.h>

// The system calls of a whole-file save, made through this table so that a test can fail any one of
// them; the program keeps the real ones. Each answers -1 with errno set when it fails.
struct SaveCalls {
    ssize_t (*readlink)(const char* path, char* buffer, size_t size);
    int (*stat)(const char* path, struct stat* status);
    int (*open)(const char* path, int flags, mode_t mode);
    int (*fstat)(int fd, struct stat* status);
    int (*fallocate)(int fd, off_t offset, off_t length);
    ssize_t (*write)(int fd, const void* bytes, size_t size);
    int (*ftruncate)(int fd, off_t length);
    int (*fchmod)(int fd, mode_t mode);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};

extern SaveCalls saveCalls;
