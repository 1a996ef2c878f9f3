#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// The input file the program has open, under its file number. One file at a time.
class FileChannel {
public:
    // The lowest number not in use.
    std::int16_t FreeFile() const { return 1; }

    // Raises the numbered failure of the system error when the file cannot be opened.
    void openForInput(std::int16_t number, const QString& path);
    void openDevice(std::int16_t number, std::unique_ptr<QIODevice> device);
    void close(std::int16_t number);

    // The next line without its end (CR LF, a lone CR or a lone LF); nothing at the end of the file or
    // when the number is not open.
    std::optional<QByteArray> readLine(std::int16_t number);

private:
    std::int16_t number_ = 0;
    std::unique_ptr<QIODevice> device_;
};
