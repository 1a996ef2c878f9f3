#include "ItemReader.h"

#include "Blanks.h"
#include "FileChannel.h"
#include "core/PathNames.h"
#include "core/TextEncoding.h"

const QString ItemReader::EndOfFile = QStringLiteral("-EOF-");

QString ItemReader::ReadItem() {
    const std::optional<QByteArray> line = channel_.readLine(state_.FileNum);
    if (!line) {
        channel_.close(state_.FileNum);
        return EndOfFile;
    }
    const QString text = TextEncoding::fromCodePage(*line);
    const qsizetype mark = text.indexOf(QLatin1Char('!'));
    QString value = withoutBlanks(mark < 0 ? text : text.left(mark));
    if (value.startsWith(QLatin1String("-999")))
        value.clear();
    value.remove(QLatin1Char('\t'));
    return withoutBlanks(value);
}

void ItemReader::readRecord() {
    AnswerSet& record = state_.answers;
    const QString name = ReadItem();
    // A name written elsewhere may carry a directory part; only its last part is kept.
    record.DataName = lastPathComponent(name);
    for (QString& answer : record.Answers)
        answer = ReadItem();
    record.Note1 = ReadItem();
    record.Note2 = ReadItem();
    const bool withSolver = ReadItem() == QLatin1String("Y");
    state_.SolverCount = withSolver ? 5 : 0;
    for (QString SolverVariables::*field : solverVariableOrder)
        record.SolverVars.*field = withSolver ? ReadItem() : QString();
}
