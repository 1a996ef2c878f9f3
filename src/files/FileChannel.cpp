#include "FileChannel.h"

#include "os/SystemErrors.h"

#include <QFile>

#include <cerrno>

void FileChannel::openForInput(std::int16_t number, const QString& path) {
    auto file = std::make_unique<QFile>(path);
    errno = 0;
    if (!file->open(QIODevice::ReadOnly))
        throw failureFromErrno(errno != 0 ? errno : ENOENT);
    openDevice(number, std::move(file));
}

void FileChannel::openDevice(std::int16_t number, std::unique_ptr<QIODevice> device) {
    number_ = number;
    device_ = std::move(device);
}

void FileChannel::close(std::int16_t number) {
    if (number == number_)
        device_.reset();
}

std::optional<QByteArray> FileChannel::readLine(std::int16_t number) {
    if (number != number_ || !device_ || device_->atEnd())
        return std::nullopt;
    QByteArray line;
    char c = 0;
    while (device_->getChar(&c)) {
        if (c == '\n')
            break;
        if (c == '\r') {
            char next = 0;
            if (device_->peek(&next, 1) == 1 && next == '\n')
                device_->getChar(&next);
            break;
        }
        line.append(c);
    }
    return line;
}
