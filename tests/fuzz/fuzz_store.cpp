// libFuzzer target: any bytes as a settings store file, which other programs write too.
#include "settings/RegDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
// Every write saves what was parsed, so a parsed store file must come back unchanged through
// serialize and parse, and serialize to the same bytes again. True too for bytes that do not parse.
bool storeRoundTripHolds(const QByteArray& bytes) {
    const std::optional<RegDocument> first = RegDocument::parse(bytes);
    if (!first)
        return true;
    const QByteArray text = first->serialize();
    const std::optional<RegDocument> second = RegDocument::parse(text);
    return second && *second == *first && second->serialize() == text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!storeRoundTripHolds(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        std::abort();
    return 0;
}
