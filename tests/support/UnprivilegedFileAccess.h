#pragma once

// While it lives, the file system checks this thread's access as an ordinary user's: root would pass
// every permission test. Does nothing for a test that does not run as root.
class UnprivilegedFileAccess {
public:
    UnprivilegedFileAccess();
    ~UnprivilegedFileAccess();
    UnprivilegedFileAccess(const UnprivilegedFileAccess&) = delete;
    UnprivilegedFileAccess& operator=(const UnprivilegedFileAccess&) = delete;

private:
    bool switched_ = false;
};
