#pragma once

#include "platform/RegDocument.h"

// Every write saves what was parsed, so a parsed store file must come back unchanged through
// serialize and parse, and serialize to the same bytes again. True too for bytes that do not parse.
inline bool storeRoundTripHolds(const QByteArray& bytes) {
    const std::optional<RegDocument> first = RegDocument::parse(bytes);
    if (!first)
        return true;
    const QByteArray text = first->serialize();
    const std::optional<RegDocument> second = RegDocument::parse(text);
    return second && *second == *first && second->serialize() == text;
}
