#include "CommandLine.h"

namespace {
QString quoted(const QString& argument) {
    const bool plain = !argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
                       !argument.contains(QLatin1Char('\t')) && !argument.contains(QLatin1Char('"'));
    if (plain)
        return argument;
    QString escaped = argument;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}
} // namespace

QString commandLineText(const QString& program, const QStringList& arguments) {
    QStringList words{quoted(program)};
    for (const QString& argument : arguments)
        words << quoted(argument);
    return words.join(QLatin1Char(' '));
}

QString cmdArguments(const QString& batchFile, const QStringList& arguments) {
    QStringList words;
    for (QString word : QStringList{batchFile} + arguments) {
        word.remove(QLatin1Char('"'));
        word.replace(QLatin1Char('%'), QStringLiteral("\"^%\""));
        words << QLatin1Char('"') + word + QLatin1Char('"');
    }
    return QStringLiteral("/S /C \"") + words.join(QLatin1Char(' ')) + QLatin1Char('"');
}
