#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Puts new contents in place of a file only once every byte of them, and the mode the file is to have,
// reached the disk; otherwise the file stays as it was. A temporary file beside it takes the contents
// and then its name. Every system call's answer is checked: QSaveFile is not enough, Qt 6.4's commit()
// ignores a failed sync and a failed copy of the permissions and puts the file in place all the same.
// Where the path is a symbolic link, the file it leads to is replaced and the link kept.
class WholeFileSave {
public:
    enum class Outcome { Saved, NotOpened, NotWritten };

    explicit WholeFileSave(const QString& path) : path_(path) {}

    // Where no new file may be made beside a writable one, the file is written in place: only there,
    // and only once the room for the new contents is taken.
    void setDirectWriteFallback(bool enabled) { directWriteFallback_ = enabled; }
    // Runs after the new contents are written and before they replace the file.
    void setBeforeCommit(std::function<void()> hook) { beforeCommit_ = std::move(hook); }

    // NotOpened: no new file could be made (nothing was written); NotWritten: the contents did not
    // reach the disk whole, or, once they replaced the file, their new name could not be made lasting.
    Outcome save(const QByteArray& bytes);
    // The system's error number of the step that failed.
    int error() const { return error_; }

private:
    Outcome writeInPlace(const QByteArray& bytes);
    Outcome failed(Outcome outcome, int error);
    static QByteArray temporarySuffix();

    QString path_;
    bool directWriteFallback_ = false;
    std::function<void()> beforeCommit_;
    int error_ = 0;
};
