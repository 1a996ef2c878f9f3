#include "InputFileWriter.h"

#include "Blanks.h"
#include "FileChannel.h"
#include "core/Failure.h"
#include "core/TextEncoding.h"
#include "core/services/Form.h"
#include "core/services/MessageBoxes.h"
#include "os/ReadOnlyAttribute.h"
#include "os/SystemErrors.h"
#include "os/WholeFileSave.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString crlf = QStringLiteral("\r\n");

// The locale's name when the input file's code page can hold it, otherwise the English one.
QString nameThatFits(const QString& local, const QString& english) {
    return TextEncoding::fitsCodePage(local) ? local : english;
}
} // namespace

InputFileWriter::InputFileWriter(ProgramState& state, Form& form, FileChannel& channel,
                                 MessageBoxes& messages, Clock clock, QLocale locale)
    : state_(state), form_(form), channel_(channel), messages_(messages), clock_(std::move(clock)),
      locale_(std::move(locale)) {}

QString InputFileWriter::headerDate(const QDateTime& when) const {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QTime time = when.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const int month = when.date().month();
    const QString monthName = nameThatFits(locale_.monthName(month, QLocale::LongFormat),
                                           english.monthName(month, QLocale::LongFormat));
    const QString amPm = time.hour() < 12 ? nameThatFits(locale_.amText(), english.amText())
                                          : nameThatFits(locale_.pmText(), english.pmText());
    return monthName + QLatin1Char(' ') +
           QStringLiteral("%1").arg(when.date().day(), 2, 10, QLatin1Char('0')) + QStringLiteral(", ") +
           QString::number(when.date().year()) + QStringLiteral(" @ ") + QString::number(hour12) +
           QLatin1Char(':') + QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0')) +
           QLatin1Char(' ') + amPm;
}

void InputFileWriter::WriteItem(const QString& Value, const QString& Label, bool IsHeader) {
    // A line break inside an item would shift every later item by a line, for the reader and the solver.
    QString value = withoutBlanks(withoutLineBreaks(Value));
    if (value.isEmpty())
        value = QStringLiteral("-999");
    const QString label = withoutLineBreaks(Label);
    const QString marker =
        IsHeader ? QStringLiteral("!* ") + label.left(50) : QStringLiteral("! ") + label.left(70);
    text_ += withoutBlanks(value + QStringLiteral("  \t\t") + marker) + crlf;
}

void InputFileWriter::WriteSolverItems() {
    for (int i = 1; i <= state_.SolverCount; ++i) {
        const QString caption = form_.solverCaption(i);
        WriteItem(state_.answers.SolverVars.*solverVariableOrder[i - 1],
                  withoutBlanks(caption.left(caption.size() - 15)), false);
    }
}

QByteArray InputFileWriter::fileContents(const QString& FileName) {
    const AnswerSet& record = state_.answers;
    const SolverVariables& solver = record.SolverVars;
    state_.SolverCount = (solver.Remax + solver.Detail + solver.DeltaSolv).isEmpty() ? 0 : 5;
    QString savedName = FileName;
    savedName.remove(
        QRegularExpression(QStringLiteral("\\.tolv"), QRegularExpression::CaseInsensitiveOption));
    const QString header = QLatin1Char(' ') + QString::number(questionCount) + QStringLiteral(", and  ") +
                           QString::number(state_.SolverCount) + QString(10, ' ') + headerDate(clock_());
    text_.clear();
    WriteItem(savedName, header, true);
    for (int n = 1; n <= questionCount; ++n)
        WriteItem(record.Answers[n - 1], form_.questionCaption(n), false);
    WriteItem(record.Note1, QStringLiteral("20. » Note1"), false);
    WriteItem(record.Note2, QStringLiteral("    » Note2"), false);
    text_ += (state_.SolverCount != 0 ? QStringLiteral("Y") : QStringLiteral("N")) +
             QStringLiteral("\t\t! 22. » Want to change solver variables?") + crlf;
    if (state_.SolverCount != 0)
        WriteSolverItems();
    if (!TextEncoding::fitsCodePage(text_))
        return {};
    return TextEncoding::toCodePage(text_);
}

void InputFileWriter::WriteAnsFile(const QString& FileName, const QString& Path) {
    form_.PutAnswers();
    const QString target = Path + QLatin1Char('/') + FileName;
    state_.FileNum = channel_.FreeFile();
    try {
        const QByteArray contents = fileContents(FileName);
        if (contents.isEmpty()) {
            state_.SaveFailed = true;
            reportUnwritableText(FileName);
            return;
        }
        save(target, contents);
        state_.SaveFailed = false;
    } catch (const Failure& failure) {
        state_.SaveFailed = true;
        if (failure.number != FailureNumber::PathFileAccess)
            throw;
        reportReadOnly(FileName, Path);
    }
}

void InputFileWriter::save(const QString& target, const QByteArray& contents) {
    const QFileInfo info(target);
    if (!info.absoluteDir().exists())
        throw Failure::of(FailureNumber::PathNotFound);
    if (info.isDir() || hasReadOnlyAttribute(target))
        throw Failure::of(FailureNumber::PathFileAccess);
    WholeFileSave file(target);
    file.setDirectWriteFallback(true);
    switch (file.save(contents)) {
    case WholeFileSave::Outcome::Saved:
        return;
    case WholeFileSave::Outcome::NotOpened: {
        // Only a refusal is a file that may not be written; a full disk or quota, or a disk that
        // cannot be read, is told as what it is.
        const int number = failureFromErrno(file.error()).number;
        if (number == FailureNumber::PermissionDenied || number == FailureNumber::PathFileAccess)
            throw Failure::of(FailureNumber::PathFileAccess);
        break;
    }
    case WholeFileSave::Outcome::NotWritten:
        break;
    }
    throw failureFromErrno(file.error());
}

void InputFileWriter::reportReadOnly(const QString& FileName, const QString& Path) {
    messages_.show(
        QStringLiteral("File not saved; Error in 'WriteAnsFile' routine."),
        QStringLiteral("File Path\\FileName error occured: ") + crlf + QStringLiteral("    Path = ") + Path +
            crlf + QStringLiteral("    FileName = ") + FileName + crlf + crlf +
            QStringLiteral("If these are okay then the error may be do to following:") + crlf +
            QStringLiteral("  Ex*.tolv files in Tolvik's User directory are for 'read-only'.") + crlf +
            QStringLiteral("  Do not save changes in these Example files.  Save changes under other names.") +
            crlf,
        MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}

// Only a file name can bring such characters: the answer boxes refuse them at entry.
void InputFileWriter::reportUnwritableText(const QString& FileName) {
    messages_.show(
        QStringLiteral("File not saved; Error in 'WriteAnsFile' routine."),
        QStringLiteral("The name '") + FileName +
            QStringLiteral("' or an answer holds characters that an input file (Windows-1252) cannot "
                           "keep.\nNothing was written; save under another name."),
        MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}
