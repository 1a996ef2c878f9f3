#include "InputFileReader.h"

#include "FileChannel.h"
#include "core/Failure.h"
#include "platform/MessageBoxes.h"
#include "platform/TextEncoding.h"
#include "settings/ExistenceTests.h"

namespace {
QString withoutBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QString afterLastSeparator(const QString& name) {
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? name : name.mid(cut + 1);
}
} // namespace

const QString InputFileReader::EndOfFile = QStringLiteral("-EOF-");

InputFileReader::InputFileReader(ProgramState& state, FileChannel& channel, ExistenceTests& exists,
                                 MessageBoxes& messages)
    : state_(state), channel_(channel), exists_(exists), messages_(messages) {}

QString InputFileReader::ReadItem() {
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

void InputFileReader::readRecord() {
    AnswerSet& record = state_.answers;
    const QString name = ReadItem();
    // A name written elsewhere may carry a directory part; only its last part is kept.
    record.DataName = afterLastSeparator(name);
    for (QString& answer : record.Answers)
        answer = ReadItem();
    record.Note1 = ReadItem();
    record.Note2 = ReadItem();
    const bool withSolver = ReadItem() == QLatin1String("Y");
    state_.SolverCount = withSolver ? 5 : 0;
    for (QString SolverVariables::*field : solverVariableOrder)
        record.SolverVars.*field = withSolver ? ReadItem() : QString();
}

void InputFileReader::FileReadMe(const QString& FileName, const QString& Path) {
    try {
        state_.FullFileName = Path + QLatin1Char('/') + FileName;
        if (!exists_.FileExists(state_.FullFileName)) {
            if (!FileName.isEmpty())
                messages_.show(QStringLiteral(" File not found."),
                               QStringLiteral("Missing '") + FileName + QStringLiteral("' file?"),
                               MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
            return;
        }
        readRecord();
    } catch (const Failure& failure) {
        messages_.show(QStringLiteral("In 'FileReadMe' routine ..."), unexpectedErrorText(failure),
                       MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
    }
}
