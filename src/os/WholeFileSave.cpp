#include "WholeFileSave.h"

#include <QRandomGenerator>

#include <cerrno>

WholeFileSave::Outcome WholeFileSave::failed(Outcome outcome, int error) {
    error_ = error != 0 ? error : EIO;
    return outcome;
}

// Added to the target's name: the temporary file lies beside it, so that taking the target's name is
// a rename within one file system.
QByteArray WholeFileSave::temporarySuffix() {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(".");
    for (int i = 0; i < 6; ++i)
        suffix += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
    return suffix;
}
