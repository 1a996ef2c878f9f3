// libFuzzer target: any bytes as a settings store file, which other programs write too.
#include "StoreRoundTrip.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!storeRoundTripHolds(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        std::abort();
    return 0;
}
