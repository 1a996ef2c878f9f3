#include "RegDocument.h"

#include <QStringDecoder>

#include <algorithm>

const QByteArray RegDocument::headerLine = QByteArrayLiteral("Quenwick Settings Store, format 1");

namespace {
QString folded(const QString& text) {
    return text.toCaseFolded();
}

QString normalisedPath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

bool needsEscapes(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('\\') || c == QLatin1Char('"') || c.unicode() < 0x20;
    });
}

QString escaped(const QString& text) {
    if (!needsEscapes(text))
        return QLatin1Char('"') + text + QLatin1Char('"');
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted text at pos; moves pos past it.
std::optional<QString> readQuoted(const QString& line, qsizetype& pos) {
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return std::nullopt;
        const QChar e = line[pos];
        if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (e == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (e == QLatin1Char('\\') || e == QLatin1Char('"'))
            out += e;
        else if (e == QLatin1Char('x') && pos + 2 < line.size()) {
            bool ok = false;
            const ushort code = line.mid(pos + 1, 2).toUShort(&ok, 16);
            if (!ok)
                return std::nullopt;
            out += QChar(code);
            pos += 2;
        } else
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<StoredValue> readData(const QString& text) {
    qsizetype pos = 0;
    if (text.startsWith(QLatin1Char('"'))) {
        const std::optional<QString> value = readQuoted(text, pos);
        if (!value || pos != text.size())
            return std::nullopt;
        return StoredValue::ofText(*value);
    }
    if (text.startsWith(QLatin1String("dword:"))) {
        const QString digits = text.mid(6);
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() != 8)
            return std::nullopt;
        return StoredValue::ofNumber(static_cast<std::int32_t>(number));
    }
    if (text.startsWith(QLatin1String("hex:"))) {
        QByteArray bytes;
        const QString list = text.mid(4);
        if (!list.isEmpty()) {
            for (const QString& part : list.split(QLatin1Char(','))) {
                bool ok = false;
                const uint byte = part.toUInt(&ok, 16);
                if (!ok || part.size() != 2)
                    return std::nullopt;
                bytes.append(static_cast<char>(byte));
            }
        }
        return StoredValue::ofBytes(bytes);
    }
    return std::nullopt;
}

QString dataText(const StoredValue& value) {
    switch (value.kind) {
    case StoredValue::Kind::Number:
        return QStringLiteral("dword:%1")
            .arg(static_cast<std::uint32_t>(value.number), 8, 16, QLatin1Char('0'));
    case StoredValue::Kind::Bytes: {
        QStringList parts;
        parts.reserve(value.bytes.size());
        for (const char byte : value.bytes)
            parts << QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
        return QStringLiteral("hex:") + parts.join(QLatin1Char(','));
    }
    case StoredValue::Kind::Text:
        break;
    }
    return escaped(value.text);
}
} // namespace

std::optional<RegDocument> RegDocument::parse(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.contains('\0'))
        return std::nullopt;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first().trimmed() != QLatin1String(headerLine))
        return std::nullopt;
    RegDocument document;
    qsizetype current = -1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString path = normalisedPath(line.mid(1, line.size() - 2));
            if (path.isEmpty())
                return std::nullopt;
            const auto found = document.index_.constFind(folded(path));
            if (found != document.index_.constEnd()) {
                current = *found;
            } else {
                current = document.keys_.size();
                document.addKey(path);
            }
            continue;
        }
        if (current < 0)
            return std::nullopt;
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            const std::optional<QString> quoted = readQuoted(line, pos);
            if (!quoted)
                return std::nullopt;
            name = *quoted;
        }
        if (pos >= line.size() || line[pos] != QLatin1Char('='))
            return std::nullopt;
        const std::optional<StoredValue> data = readData(line.mid(pos + 1));
        if (!data)
            return std::nullopt;
        document.setKeyValue(document.keys_[current], name, *data);
    }
    return document;
}

QByteArray RegDocument::serialize() const {
    QList<const Key*> ordered;
    for (const Key& key : keys_)
        ordered.append(&key);
    std::sort(ordered.begin(), ordered.end(),
              [](const Key* a, const Key* b) { return folded(a->path) < folded(b->path); });
    QString out = QString::fromUtf8(headerLine) + QLatin1Char('\n');
    out.reserve(64 * (keys_.size() + valueCount()));
    for (const Key* key : ordered) {
        out += QStringLiteral("\n[") + key->path + QStringLiteral("]\n");
        for (const Value& value : key->values) {
            out += value.name.isEmpty() ? QStringLiteral("@") : escaped(value.name);
            out += QLatin1Char('=') + dataText(value.data) + QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

bool RegDocument::operator==(const RegDocument& other) const {
    if (keys_.size() != other.keys_.size())
        return false;
    return std::all_of(keys_.cbegin(), keys_.cend(), [&](const Key& key) {
        const Key* match = other.findKey(key.path);
        return match && match->path == key.path && match->values == key.values;
    });
}

qsizetype RegDocument::valueCount() const {
    qsizetype count = 0;
    for (const Key& key : keys_)
        count += key.values.size();
    return count;
}

RegDocument::Key* RegDocument::findKey(const QString& path) {
    const auto found = index_.constFind(folded(normalisedPath(path)));
    return found == index_.constEnd() ? nullptr : &keys_[*found];
}

const RegDocument::Key* RegDocument::findKey(const QString& path) const {
    const auto found = index_.constFind(folded(normalisedPath(path)));
    return found == index_.constEnd() ? nullptr : &keys_[*found];
}

RegDocument::Key& RegDocument::addKey(const QString& path) {
    index_.insert(folded(path), keys_.size());
    keys_.append(Key{path, {}, {}});
    return keys_.last();
}

bool RegDocument::hasKey(const QString& path) const {
    return findKey(path) != nullptr;
}

void RegDocument::createKey(const QString& path) {
    const QStringList parts = normalisedPath(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString prefix;
    for (const QString& part : parts) {
        prefix = prefix.isEmpty() ? part : prefix + QLatin1Char('\\') + part;
        if (!findKey(prefix))
            addKey(prefix);
    }
}

std::optional<StoredValue> RegDocument::value(const QString& path, const QString& name) const {
    const Key* key = findKey(path);
    if (!key)
        return std::nullopt;
    const auto found = key->valueIndex.constFind(folded(name));
    if (found == key->valueIndex.constEnd())
        return std::nullopt;
    return key->values[*found].data;
}

bool RegDocument::setValue(const QString& path, const QString& name, const StoredValue& data) {
    Key* key = findKey(path);
    if (!key)
        return false;
    setKeyValue(*key, name, data);
    return true;
}

void RegDocument::setKeyValue(Key& key, const QString& name, const StoredValue& data) {
    const QString wanted = folded(name);
    const auto found = key.valueIndex.constFind(wanted);
    if (found != key.valueIndex.constEnd()) {
        key.values[*found].data = data;
        return;
    }
    key.valueIndex.insert(wanted, key.values.size());
    key.values.append(Value{name, data});
}
