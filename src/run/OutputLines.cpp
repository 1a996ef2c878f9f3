#include "OutputLines.h"

#include "core/TextEncoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {
// The length of bytes without a UTF-8 character that the cut left unfinished at their end. A byte that
// never begins one (0xC0, 0xC1, 0xF5 and above) is a character of the DOS code page: it stays.
qsizetype wholeCharacters(const QByteArray& bytes) {
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    qsizetype lead = bytes.size() - 1;
    while (lead > 0 && lead > bytes.size() - 4 && (at(lead) & 0xC0) == 0x80)
        --lead;
    if (lead < 0 || at(lead) < 0xC2 || at(lead) > 0xF4)
        return bytes.size();
    const qsizetype needed = at(lead) >= 0xF0 ? 4 : at(lead) >= 0xE0 ? 3 : 2;
    return bytes.size() - lead >= needed ? bytes.size() : lead;
}

// The first LF or CR from data on, or end; memchr, since output of any size passes through here.
const char* nextBreak(const char* data, const char* end) {
    const auto* lf = static_cast<const char*>(std::memchr(data, '\n', end - data));
    const char* limit = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(data, '\r', limit - data));
    return cr ? cr : limit;
}
} // namespace

QString OutputLines::decodeLine(const QByteArray& bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return TextEncoding::fromCodePage(bytes);
    // Characters a text document takes for a paragraph, frame or object of its own: one line of
    // output stays one line of the view.
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1) ||
            c == QChar::ObjectReplacementCharacter)
            c = QChar::ReplacementCharacter;
    return text;
}

void OutputLines::appendToLine(Line& line, const char* data, qsizetype size) {
    const qsizetype room = shownLineBytes - line.bytes.size();
    if (room > 0)
        line.bytes.append(data, qMin(room, size));
    line.length += size;
}

void OutputLines::add(Channel channel, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    Pending& pending = channel == Channel::Output ? output_ : error_;
    pending.line.channel = channel;
    const char* data = bytes.constData();
    const char* const end = data + bytes.size();
    if (data != end && pending.afterCr && *data == '\n')
        ++data;
    pending.afterCr = false;
    while (data != end) {
        const char* brk = nextBreak(data, end);
        appendToLine(pending.line, data, brk - data);
        if (brk == end)
            break;
        endLine(pending);
        if (*brk == '\r') {
            if (brk + 1 == end) {
                pending.afterCr = true;
                break;
            }
            if (brk[1] == '\n')
                ++brk;
        }
        data = brk + 1;
    }
}

QString OutputLines::shown(const Line& line) {
    QByteArray bytes = line.bytes;
    const bool cut = line.length > bytes.size();
    if (cut)
        bytes.truncate(wholeCharacters(bytes));
    QString text = decodeLine(bytes);
    if (cut)
        text += QStringLiteral(" … [line cut here: %1 bytes in all]").arg(line.length);
    return line.channel == Channel::Error ? QStringLiteral("! ") + text : text;
}

void OutputLines::endLine(Pending& pending) {
    bytes_ += pending.line.bytes.size();
    lines_.push_back(std::move(pending.line));
    pending.line = Line{{}, 0, lines_.back().channel};
    ++newLines_;
    while (static_cast<qsizetype>(lines_.size()) > keptLines || bytes_ > keptBytes) {
        if (static_cast<qsizetype>(lines_.size()) > newLines_)
            ++droppedTaken_;
        bytes_ -= lines_.front().bytes.size();
        lines_.pop_front();
        ++dropped_;
    }
    // Lines dropped before the view took them: it starts anew with what is kept.
    if (newLines_ > static_cast<qsizetype>(lines_.size())) {
        newLines_ = static_cast<qsizetype>(lines_.size());
        restart_ = true;
    }
}

void OutputLines::finish() {
    for (Pending* pending : {&output_, &error_})
        if (pending->line.length > 0)
            endLine(*pending);
}

OutputLines::Update OutputLines::take() {
    Update update;
    update.restart = restart_;
    update.dropFirst = restart_ ? 0 : droppedTaken_;
    const qsizetype first = update.restart ? 0 : static_cast<qsizetype>(lines_.size()) - newLines_;
    for (auto it = lines_.begin() + first; it != lines_.end(); ++it)
        update.lines << shown(*it);
    for (const Pending* pending : {&output_, &error_})
        if (pending->line.length > 0)
            update.unfinished << shown(pending->line);
    restart_ = false;
    newLines_ = 0;
    droppedTaken_ = 0;
    return update;
}
