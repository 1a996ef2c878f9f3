#include "os/DesktopRegistration.h"

#include <windows.h>

#include <shlobj.h>

// On Windows the classes written to the registry are all the shell needs; it is only told that they
// changed, so that open windows show the new icons and handlers.
bool DesktopRegistration::registerProgram(const QString&, const QString&) {
    return true;
}

bool DesktopRegistration::registerTypes(const QList<FileType>&) {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return true;
}
