// libFuzzer target: any bytes as an input file, read the way Open reads one.
#include "files/FileChannel.h"
#include "files/ItemReader.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ProgramState state;
    FileChannel channel;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    buffer->open(QIODevice::ReadOnly);
    state.FileNum = channel.FreeFile();
    channel.openDevice(state.FileNum, std::move(buffer));
    ItemReader reader(state, channel);
    reader.readRecord();
    // Every further line, then the end, must come without a hang.
    while (reader.ReadItem() != ItemReader::EndOfFile) {
    }
    return 0;
}
