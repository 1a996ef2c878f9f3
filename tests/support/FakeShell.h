#pragma once

#include "core/services/Shell.h"

#include <QList>

// Records what would be opened or started; runs finish with exit code 0.
class FakeShell : public Shell {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingDirectory;
        bool waited;
    };

    bool openDocument(const QString& target) override {
        opened << target;
        return openSucceeds;
    }
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override {
        started.append({program, arguments, workingDirectory, false});
        return startSucceeds;
    }
    RunEnd runAndWait(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                      const QString& = QString()) override {
        started.append({program, arguments, workingDirectory, true});
        return {};
    }

    QStringList opened;
    QList<Started> started;
    bool startSucceeds = true;
    bool openSucceeds = true;
};
