#include "CommonDialog.h"

#include "core/Failure.h"

CommonDialog::CommonDialog(FileDialogBackend& backend) : backend_(backend) {}

bool CommonDialog::ShowOpen() {
    return show(FileDialogRequest::Mode::Open);
}

bool CommonDialog::ShowSave() {
    return show(FileDialogRequest::Mode::Save);
}

bool CommonDialog::show(FileDialogRequest::Mode mode) {
    const std::optional<QString> chosen = backend_.choose(request(mode));
    if (!chosen) {
        if (CancelError)
            throw Failure{FailureNumber::DialogCancelled, QStringLiteral("Cancel was selected.")};
        return false;
    }
    FileName = *chosen;
    return true;
}

FileDialogRequest CommonDialog::request(FileDialogRequest::Mode mode) const {
    FileDialogRequest r;
    r.mode = mode;
    r.title = DialogTitle;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        r.filters.append({parts[i], parts[i + 1]});
    r.filterIndex = FilterIndex;
    r.initialDirectory = InitDir;
    r.fileName = FileName;
    return r;
}
