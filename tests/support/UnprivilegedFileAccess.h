#pragma once

#include <QtGlobal>

#include <sys/fsuid.h>
#include <unistd.h>

// While it lives, the file system checks this thread's access as an ordinary user's (nobody's): root
// would pass every permission test. Does nothing for a test that does not run as root.
class UnprivilegedFileAccess {
public:
    UnprivilegedFileAccess() : switched_(geteuid() == 0) {
        if (switched_)
            setfsgid(nobody), setfsuid(nobody);
    }
    ~UnprivilegedFileAccess() {
        if (switched_)
            setfsuid(0), setfsgid(0);
    }
    Q_DISABLE_COPY(UnprivilegedFileAccess)

private:
    static constexpr unsigned nobody = 65534;
    bool switched_ = false;
};
