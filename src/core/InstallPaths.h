#pragma once

#include <QString>

// Where the installation lies: the program directory (the executable's, or a test's) and the fixed
// names inside it; and the work directory, where the examples, their output and User are used. It is
// the program directory, unless that is read-only to the user (see files/WorkArea).
class InstallPaths {
public:
    explicit InstallPaths(const QString& programDirectory) : programDirectory_(programDirectory) {}

    QString programDirectory() const { return programDirectory_; }
    // The program directory followed by "/..".
    QString parentPath() const { return programDirectory_ + QStringLiteral("/.."); }
    QString workDirectory() const { return workDirectory_.isEmpty() ? programDirectory_ : workDirectory_; }
    void setWorkDirectory(const QString& directory) { workDirectory_ = directory; }
    // dir + "/" + name, taking an existing entry whose name differs only in case, so that "User" is
    // never made beside "user".
    static QString resolve(const QString& dir, const QString& name);

private:
    QString programDirectory_;
    QString workDirectory_;
};
