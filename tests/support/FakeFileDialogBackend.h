#pragma once

#include "core/services/FileDialogBackend.h"

#include <QList>

// Scripted choices (a path, or nothing for Cancel) and a log of every request. An unscripted request
// is answered with Cancel.
class FakeFileDialogBackend : public FileDialogBackend {
public:
    std::optional<QString> choose(const FileDialogRequest& request) override {
        requests_.append(request);
        return choices_.isEmpty() ? std::nullopt : choices_.takeFirst();
    }

    void choosePath(const QString& path) { choices_.append(path); }
    void cancel() { choices_.append(std::nullopt); }
    const QList<FileDialogRequest>& requests() const { return requests_; }

private:
    QList<std::optional<QString>> choices_;
    QList<FileDialogRequest> requests_;
};
