#pragma once

#include <QList>
#include <QString>

#include <optional>

// One request to choose a file, built by CommonDialog from its persistent settings.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    struct Filter {
        QString description;
        QString pattern; // as written in the filter list, e.g. "*.Tolv" or "*.*"
    };
    QList<Filter> filters;
    int filterIndex = 1; // 1-based; may lie beyond the list
    QString initialDirectory;
    QString fileName;
};

// Does the choosing; the Qt implementation shows QFileDialog, tests script the answers.
class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    // The full path chosen, or nothing when the user cancelled.
    virtual std::optional<QString> choose(const FileDialogRequest& request) = 0;
};
