#pragma once

#include <QString>

// What the About and E-mail dialogs say about the program and its maker.
namespace ProgramInfo {
inline const QString programName = QStringLiteral("Tolvik");
inline const QString versionText = QStringLiteral(TOLVIK_VERSION);
inline const QString year = QStringLiteral("2016");
inline const QString makerName = QStringLiteral("Quenwick");

// Shown in the E-mail dialog; the mail link goes to the support address, which is a mailbox of its own.
inline const QString contactAddress = QStringLiteral("help@quenwick.example");
inline const QString supportAddress = QStringLiteral("tolvik-support@quenwick.example");
inline const QString caseBookAddress = QStringLiteral("https://www.quenwick.example/casebook");

// "Tolvik (Version 6.711)"
QString titleLine();
QString versionLine();
QString rightsLine();
QString rightsNotice();
// A rule of 47 hyphens under the rights lines.
QString rule();
QString mailLink();
} // namespace ProgramInfo
