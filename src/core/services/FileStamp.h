#pragma once

#include <QString>
#include <QtGlobal>

// What tells a file from the one that stood under its name before: the file system's own identity of
// it (device and file number), its size and its time of change. Stamps are compared only with each
// other, never with a clock, which on FAT (two-second times) or a network file system may disagree.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 file = 0;
    qint64 size = 0;
    qint64 modified = 0; // in the file system's own units

    // The file at path now; a missing one has no stamp (exists false).
    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};
