#include "InputFileReader.h"

#include "ExistenceTests.h"
#include "core/Failure.h"
#include "core/services/MessageBoxes.h"

InputFileReader::InputFileReader(ProgramState& state, FileChannel& channel, ExistenceTests& exists,
                                 MessageBoxes& messages)
    : state_(state), items_(state, channel), exists_(exists), messages_(messages) {}

bool InputFileReader::FileReadMe(const QString& FileName, const QString& Path) {
    try {
        state_.FullFileName = Path + QLatin1Char('/') + FileName;
        if (!exists_.FileExists(state_.FullFileName)) {
            if (!FileName.isEmpty())
                messages_.show(QStringLiteral(" File not found."),
                               QStringLiteral("Missing '") + FileName + QStringLiteral("' file?"),
                               MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
            return false;
        }
        items_.readRecord();
    } catch (const Failure& failure) {
        messages_.show(QStringLiteral("In 'FileReadMe' routine ..."), unexpectedErrorText(failure),
                       MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
    }
    return true;
}
