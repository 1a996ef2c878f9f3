#pragma once

#include <QString>

// Where the installation lies: the program directory (the executable's, or a test's) and the fixed
// names inside it.
class InstallPaths {
public:
    explicit InstallPaths(const QString& programDirectory) : programDirectory_(programDirectory) {}

    QString programDirectory() const { return programDirectory_; }
    // The program directory followed by "/..".
    QString parentPath() const { return programDirectory_ + QStringLiteral("/.."); }
    // dir + "/" + name, taking an existing entry whose name differs only in case, so that "User" is
    // never made beside "user".
    static QString resolve(const QString& dir, const QString& name);

private:
    QString programDirectory_;
};
