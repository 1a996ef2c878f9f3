#include "TextEncoding.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {
// Windows-1252 is Latin-1 but for 0x80 to 0x9F. The five bytes it leaves free stand for the control
// characters of the same number, as Windows converts them. Held here, not asked of ICU, which a Qt
// built without it lacks.
constexpr std::array<char16_t, 32> highHalf{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byteFor(QChar c) {
    const char16_t unit = c.unicode();
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    const auto found = std::find(highHalf.begin(), highHalf.end(), unit);
    if (found == highHalf.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - highHalf.begin()));
}
} // namespace

bool TextEncoding::fitsCodePage(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return byteFor(c).has_value(); });
}

QByteArray TextEncoding::toCodePage(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text)
        bytes += byteFor(c).value_or('?');
    return bytes;
}

QString TextEncoding::fromCodePage(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        text += byte >= 0x80 && byte < 0xA0 ? QChar(highHalf[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text;
}
