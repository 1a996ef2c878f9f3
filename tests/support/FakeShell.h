#pragma once

#include "platform/Shell.h"

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

    bool openDocument(const QString& target) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    RunEnd runAndWait(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                      const QString& outputFile = QString()) override;

    QStringList opened;
    QList<Started> started;
    bool startSucceeds = true;
    bool openSucceeds = true;
};
