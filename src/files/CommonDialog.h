#pragma once

#include "core/services/FileDialogBackend.h"

#include <QString>

// The window's one common file dialog. Its settings persist from one use to the next; a command
// changes only what it sets.
class CommonDialog {
public:
    explicit CommonDialog(FileDialogBackend& backend);

    QString DialogTitle;
    QString Filter; // "Description|pattern|Description|pattern..."
    int FilterIndex = 1;
    QString InitDir;
    QString FileName;
    bool CancelError = false;

    // True when a file was chosen (its full path is then in FileName). A cancel raises failure 32755
    // when CancelError is set and answers false otherwise.
    bool ShowOpen();
    bool ShowSave();

private:
    bool show(FileDialogRequest::Mode mode);
    FileDialogRequest request(FileDialogRequest::Mode mode) const;

    FileDialogBackend& backend_;
};
