#include "os/DesktopRegistration.h"

#include "os/WholeFileSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace {
bool writeWhole(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return WholeFileSave(path).save(bytes) == WholeFileSave::Outcome::Saved;
}

QString xmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The file of that name in the system's data directories (where a package puts it), or empty.
QString systemDataFile(const QString& relative) {
    QStringList directories = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    directories.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    for (const QString& directory : directories)
        if (QFileInfo::exists(directory + QLatin1Char('/') + relative))
            return directory + QLatin1Char('/') + relative;
    return {};
}

// Whether the desktop entry starts this very program, named by its path or found on PATH.
bool entryStarts(const QString& entry, const QString& program) {
    QFile file(entry);
    if (entry.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("Exec=")))
            continue;
        const QString exec = line.mid(5);
        QString command = exec.startsWith(QLatin1Char('"')) ? exec.section(QLatin1Char('"'), 1, 1)
                                                            : exec.section(QLatin1Char(' '), 0, 0);
        if (!command.startsWith(QLatin1Char('/')))
            command = QStandardPaths::findExecutable(command);
        const QString started = QFileInfo(command).canonicalFilePath();
        return !started.isEmpty() && started == QFileInfo(program).canonicalFilePath();
    }
    return false;
}

// The installation's package brought the entry itself: no copy of the user's may outlive its removal.
bool installedWithTheSystem(const QString& desktopFile, const QString& program) {
    return entryStarts(systemDataFile(QStringLiteral("applications/") + desktopFile), program);
}
} // namespace

QString DesktopRegistration::mimeTypeName(const QString& extension) {
    return QStringLiteral("application/x-quenwick-") + extension.toLower();
}

QString DesktopRegistration::desktopFileName(const QString& handlerPath) {
    return QStringLiteral("quenwick-") + QFileInfo(handlerPath).completeBaseName().toLower() +
           QStringLiteral(".desktop");
}

// Quoted as the desktop entry format asks: inside the quotes ", `, $ and \ take a backslash, and the
// file format then doubles every backslash.
QString DesktopRegistration::execLine(const QString& program) {
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QStringLiteral("\" %f");
}

bool DesktopRegistration::registerProgram(const QString& program, const QString& icon) {
    if (installedWithTheSystem(QStringLiteral("quenwick-tolvik.desktop"), program))
        return true;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString entry =
        QStringLiteral(
            "[Desktop Entry]\nType=Application\nName=Tolvik\n"
            "Comment=Robot-arm inverse problems: answers, runs and results\n"
            "Exec=%1\nIcon=%2\nTerminal=false\nStartupWMClass=tolvik\nCategories=Science;Engineering;\n")
            .arg(execLine(program).chopped(3), icon);
    return writeWhole(dataHome + QStringLiteral("/applications/quenwick-tolvik.desktop"), entry.toUtf8());
}

bool DesktopRegistration::registerTypes(const QList<FileType>& types) {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const bool packaged =
        !systemDataFile(QStringLiteral("mime/packages/quenwick-tolvik.xml")).isEmpty() &&
        std::all_of(types.cbegin(), types.cend(), [](const FileType& type) {
            return installedWithTheSystem(desktopFileName(type.handlerPath), type.handlerPath);
        });
    if (packaged)
        return writeDefaults(types, configHome);
    const bool written = writeMimePackage(types, dataHome) && writeDesktopEntries(types, dataHome) &&
                         writeDefaults(types, configHome);
    startIfPresent(QStringLiteral("update-mime-database"), {dataHome + QStringLiteral("/mime")});
    startIfPresent(QStringLiteral("update-desktop-database"), {dataHome + QStringLiteral("/applications")});
    return written;
}

bool DesktopRegistration::writeMimePackage(const QList<FileType>& types, const QString& dataHome) {
    QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    for (const FileType& type : types) {
        xml += QStringLiteral("  <mime-type type=\"%1\">\n").arg(mimeTypeName(type.extension));
        xml += QStringLiteral("    <sub-class-of type=\"text/plain\"/>\n");
        xml += QStringLiteral("    <comment>%1</comment>\n").arg(xmlEscaped(type.description));
        xml += QStringLiteral("    <glob pattern=\"*.%1\" weight=\"%2\"/>\n")
                   .arg(xmlEscaped(type.extension.toLower()))
                   .arg(type.globWeight);
        xml += QStringLiteral("  </mime-type>\n");
    }
    xml += QStringLiteral("</mime-info>\n");
    return writeWhole(dataHome + QStringLiteral("/mime/packages/quenwick-tolvik.xml"), xml.toUtf8());
}

bool DesktopRegistration::writeDesktopEntries(const QList<FileType>& types, const QString& dataHome) {
    QMap<QString, QStringList> typesByHandler;
    for (const FileType& type : types)
        typesByHandler[type.handlerPath] << mimeTypeName(type.extension);
    for (auto it = typesByHandler.cbegin(); it != typesByHandler.cend(); ++it) {
        const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1 (Quenwick)\n"
                                             "Exec=%2\nMimeType=%3;\nNoDisplay=true\nTerminal=false\n")
                                  .arg(QFileInfo(it.key()).completeBaseName(), execLine(it.key()),
                                       it.value().join(QLatin1Char(';')));
        if (!writeWhole(dataHome + QStringLiteral("/applications/") + desktopFileName(it.key()),
                        entry.toUtf8()))
            return false;
    }
    return true;
}

// Sets our types' defaults in [Default Applications] and keeps every other line of the file.
bool DesktopRegistration::writeDefaults(const QList<FileType>& types, const QString& configHome) {
    const QString path = configHome + QStringLiteral("/mimeapps.list");
    QMap<QString, QString> wanted;
    for (const FileType& type : types)
        wanted[mimeTypeName(type.extension)] = desktopFileName(type.handlerPath);

    QStringList lines;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(existing.readAll()).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    qsizetype section = lines.indexOf(QStringLiteral("[Default Applications]"));
    if (section < 0) {
        if (!lines.isEmpty())
            lines << QString();
        lines << QStringLiteral("[Default Applications]");
        section = lines.size() - 1;
    }
    qsizetype end = section + 1;
    while (end < lines.size() && !lines[end].startsWith(QLatin1Char('[')))
        ++end;
    for (qsizetype i = end - 1; i > section; --i) {
        if (wanted.contains(lines[i].section(QLatin1Char('='), 0, 0).trimmed())) {
            lines.removeAt(i);
            --end;
        }
    }
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        lines.insert(end++, it.key() + QLatin1Char('=') + it.value() + QLatin1Char(';'));
    return writeWhole(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

// Started without waiting, so the first window does not wait for the desktop's caches. Absent tools
// are no error: the desktop then simply refreshes its caches later.
void DesktopRegistration::startIfPresent(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty())
        QProcess::startDetached(program, arguments);
}
