#pragma once

#include "core/ProgramState.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>

#include <functional>

class FileChannel;
class Form;
class MessageBoxes;

// Writes the form's answers as an input file: Windows-1252, CR LF, one item per line.
class InputFileWriter {
public:
    using Clock = std::function<QDateTime()>;

    InputFileWriter(ProgramState& state, Form& form, FileChannel& channel, MessageBoxes& messages,
                    Clock clock, QLocale locale);

    // Success or failure is left in SaveFailed; a failure other than the read-only one it reports
    // itself is raised to the caller. The previous file stays whole whatever fails.
    void WriteAnsFile(const QString& FileName, const QString& Path);

private:
    // The header's date and time: "January 16, 2024 @ 3:07 PM" in an English locale. Names that the
    // code page cannot hold are taken in English: the header is a label that nobody reads back.
    QString headerDate(const QDateTime& when) const;
    void WriteItem(const QString& Value, const QString& Label, bool IsHeader);
    void WriteSolverItems();
    QByteArray fileContents(const QString& FileName);
    void save(const QString& target, const QByteArray& contents);
    void reportReadOnly(const QString& FileName, const QString& Path);
    void reportUnwritableText(const QString& FileName);

    ProgramState& state_;
    Form& form_;
    FileChannel& channel_;
    MessageBoxes& messages_;
    Clock clock_;
    QLocale locale_;
    QString text_; // the file being built, line by line
};
