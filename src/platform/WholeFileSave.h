#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Puts new contents in place of a file only once every byte of them reached the disk; otherwise the
// file stays as it was. QSaveFile alone is not enough: Qt 6.4's commit() answers true after its buffered
// write failed (a full disk) and puts the short temporary file in place.
class WholeFileSave {
public:
    enum class Outcome { Saved, NotOpened, NotWritten };

    explicit WholeFileSave(const QString& path) : path_(path) {}

    // Where no new file may be made beside a writable one, the file is written in place: only there,
    // and only once the room for the new contents is taken.
    void setDirectWriteFallback(bool enabled) { directWriteFallback_ = enabled; }
    // Runs after the new contents are written and before they replace the file.
    void setBeforeCommit(std::function<void()> hook) { beforeCommit_ = std::move(hook); }

    Outcome save(const QByteArray& bytes);
    // The system's error number of the step that failed.
    int error() const { return error_; }

private:
    Outcome writeInPlace(const QByteArray& bytes);
    Outcome failed(Outcome outcome, int error);

    QString path_;
    bool directWriteFallback_ = false;
    std::function<void()> beforeCommit_;
    int error_ = 0;
};
