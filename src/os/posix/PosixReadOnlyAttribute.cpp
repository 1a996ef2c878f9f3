#include "os/ReadOnlyAttribute.h"

#include "os/SystemErrors.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool hasReadOnlyAttribute(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        throw failureFromErrno(errno);
    }
    if (!(info.st_mode & S_IWUSR))
        return true;
    // Asked as the effective user, whom the save's own calls are checked as.
    if (::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) == 0)
        return false;
    if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)
        return true;
    throw failureFromErrno(errno);
}
