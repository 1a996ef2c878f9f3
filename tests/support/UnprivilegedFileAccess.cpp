#include "UnprivilegedFileAccess.h"

#include <sys/fsuid.h>
#include <unistd.h>

namespace {
constexpr unsigned nobody = 65534;
}

UnprivilegedFileAccess::UnprivilegedFileAccess() : switched_(geteuid() == 0) {
    if (switched_) {
        setfsgid(nobody);
        setfsuid(nobody);
    }
}

UnprivilegedFileAccess::~UnprivilegedFileAccess() {
    if (switched_) {
        setfsuid(0);
        setfsgid(0);
    }
}
