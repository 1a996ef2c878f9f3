#include "ProgramInfo.h"

namespace ProgramInfo {
QString titleLine() {
    return programName + QStringLiteral(" (Version ") + versionText + QLatin1Char(')');
}

QString versionLine() {
    return QStringLiteral("Version ") + versionText + QStringLiteral(" for Linux and Windows");
}

QString rightsLine() {
    return QStringLiteral("Copyright © ") + year + QLatin1Char(' ') + makerName +
           QStringLiteral(". All rights reserved.");
}

QString rightsNotice() {
    return QStringLiteral("Protected by international copyright law.");
}

QString rule() {
    return QString(47, QLatin1Char('-'));
}

QString mailLink() {
    return QStringLiteral("mailto:") + supportAddress + QStringLiteral("?subject=") + programName +
           QStringLiteral(" v. ") + versionText +
           QStringLiteral(": ... please REPLACE these notes with your sub-subject here");
}
} // namespace ProgramInfo
