#pragma once

#include "Shell.h"

class QWidget;

class QtShell : public Shell {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    bool openDocument(const QString& target) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    RunEnd runAndWait(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                      const QString& outputFile = QString()) override;

private:
    QWidget* parent_ = nullptr;
};
