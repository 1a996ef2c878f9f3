#include "FormLoadFailure.h"

#include "DiskErrorPrompt.h"
#include "ProgramState.h"
#include "core/services/MessageBoxes.h"

StepOutcome handleFormLoadFailure(const FormLoadSite& site, const Failure& failure) {
    if (failure.number == FailureNumber::DeviceUnavailable)
        return *askRetryAfterDiskError(site.messages, QStringLiteral("In 'Form_Load' routine ..."), failure,
                                       site.programDirectory)
                   ? StepOutcome::Retry
                   : StepOutcome::EndRoutine;
    if (failure.number == FailureNumber::DialogCancelled)
        return StepOutcome::EndRoutine;
    site.messages.show(site.reportTitle,
                       unexpectedErrorText(failure) + QStringLiteral(" ... fileTemp = ") +
                           site.state.fileTemp + QStringLiteral("\n ... ") + site.directoryLabel +
                           QStringLiteral(" = ") + site.state.fileTempPath + QStringLiteral("\nappPath = ") +
                           site.programDirectory + QLatin1Char('\n'),
                       MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
    return StepOutcome::Next;
}
