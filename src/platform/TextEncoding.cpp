#include "TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* codePage = "windows-1252";
}

bool TextEncoding::fitsCodePage(const QString& text) {
    QStringEncoder encoder(codePage);
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && fromCodePage(bytes) == text;
}

QByteArray TextEncoding::toCodePage(const QString& text) {
    QStringEncoder encoder(codePage);
    return encoder.encode(text);
}

QString TextEncoding::fromCodePage(const QByteArray& bytes) {
    QStringDecoder decoder(codePage);
    return decoder.decode(bytes);
}
