#include "PdfOutline.h"

#include <QFile>
#include <QRegularExpression>

namespace {
// The whole body of object number, between "N 0 obj" and "endobj".
QByteArray objectBody(const QByteArray& pdf, int number) {
    const QRegularExpression start(QStringLiteral("(^|\\n)%1 0 obj\\s*").arg(number));
    const QRegularExpressionMatch found = start.match(QString::fromLatin1(pdf));
    if (!found.hasMatch())
        return {};
    const qsizetype from = found.capturedEnd();
    return pdf.mid(from, pdf.indexOf("endobj", from) - from).trimmed();
}

int trailerNumber(const QByteArray& trailer, const char* key) {
    const QRegularExpression entry(QStringLiteral("/%1\\s+(\\d+)").arg(QLatin1String(key)));
    return entry.match(QString::fromLatin1(trailer)).captured(1).toInt();
}

QList<int> pageObjects(const QByteArray& pages) {
    const QByteArray kids = pages.mid(pages.indexOf('[') + 1, pages.indexOf(']') - pages.indexOf('[') - 1);
    QList<int> numbers;
    const QRegularExpression reference(QStringLiteral("(\\d+)\\s+0\\s+R"));
    for (auto it = reference.globalMatch(QString::fromLatin1(kids)); it.hasNext();)
        numbers << it.next().captured(1).toInt();
    return numbers;
}

// A text string in UTF-16 with its byte order mark, as hex: any title is safe in it.
QByteArray pdfText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

struct Node {
    int parent = -1, prev = -1, next = -1, first = -1, last = -1, descendants = 0;
};
} // namespace

bool PdfOutline::addTo(const QString& pdfPath, const QList<Entry>& entries, double pageHeight) {
    QFile file(pdfPath);
    if (entries.isEmpty() || !file.open(QIODevice::ReadWrite))
        return entries.isEmpty();
    const QByteArray pdf = file.readAll();
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const QByteArray trailer = pdf.mid(trailerAt);
    const int size = trailerNumber(trailer, "Size"), root = trailerNumber(trailer, "Root");
    const int info = trailerNumber(trailer, "Info");
    const QByteArray oldXref =
        trailer.mid(trailer.indexOf("startxref") + 9).trimmed().split('\n').value(0).trimmed();
    const QByteArray catalog = objectBody(pdf, root);
    const int pagesObject = trailerNumber(catalog, "Pages");
    const QList<int> pages = pageObjects(objectBody(pdf, pagesObject));
    if (size == 0 || root == 0 || catalog.isEmpty() || pages.isEmpty())
        return false;

    // Object size is the outline's root, size + 1 + i the entry i; each hangs below the nearest entry
    // before it of a lower level.
    QList<Node> nodes(entries.size() + 1);
    QList<int> open{0};
    QList<int> levels{0};
    for (int i = 0; i < entries.size(); ++i) {
        const int node = i + 1;
        while (levels.last() >= entries[i].level) {
            open.removeLast();
            levels.removeLast();
        }
        const int parent = open.last();
        nodes[node].parent = parent;
        if (nodes[parent].last >= 0) {
            nodes[nodes[parent].last].next = node;
            nodes[node].prev = nodes[parent].last;
        } else {
            nodes[parent].first = node;
        }
        nodes[parent].last = node;
        for (int up = parent; up >= 0; up = nodes[up].parent)
            ++nodes[up].descendants;
        open << node;
        levels << entries[i].level;
    }
    const auto ref = [size](int node) { return QByteArray::number(size + node) + " 0 R"; };

    QByteArray update = "\n";
    QList<QPair<int, qsizetype>> offsets;
    const auto addObject = [&](int number, const QByteArray& body) {
        offsets << qMakePair(number, pdf.size() + update.size());
        update += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    };
    addObject(size, "<< /Type /Outlines /First " + ref(nodes[0].first) + " /Last " + ref(nodes[0].last) +
                        " /Count " + QByteArray::number(nodes[0].descendants) + " >>");
    for (int i = 0; i < entries.size(); ++i) {
        const Node& node = nodes[i + 1];
        const int page = pages.value(qBound(0, entries[i].page, int(pages.size()) - 1));
        QByteArray body = "<< /Title " + pdfText(entries[i].title) + " /Parent " + ref(node.parent);
        if (node.prev >= 0)
            body += " /Prev " + ref(node.prev);
        if (node.next >= 0)
            body += " /Next " + ref(node.next);
        if (node.first >= 0)
            body += " /First " + ref(node.first) + " /Last " + ref(node.last) + " /Count " +
                    QByteArray::number(node.descendants);
        body += " /Dest [" + QByteArray::number(page) + " 0 R /XYZ 0 " +
                QByteArray::number(pageHeight - entries[i].top, 'f', 1) + " null] >>";
        addObject(size + 1 + i, body);
    }
    QByteArray inner = catalog;
    inner = inner.mid(inner.indexOf("<<") + 2);
    inner.truncate(inner.lastIndexOf(">>"));
    addObject(root,
              "<<" + inner + "/Outlines " + QByteArray::number(size) + " 0 R\n/PageMode /UseOutlines\n>>");

    const qsizetype xrefAt = pdf.size() + update.size();
    update += "xref\n";
    const auto entry = [](qsizetype offset) {
        return QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    };
    update += QByteArray::number(root) + " 1\n" + entry(offsets.last().second);
    update += QByteArray::number(size) + ' ' + QByteArray::number(entries.size() + 1) + '\n';
    for (qsizetype i = 0; i + 1 < offsets.size(); ++i)
        update += entry(offsets[i].second);
    update += "trailer\n<< /Size " + QByteArray::number(size + entries.size() + 1) + " /Root " +
              QByteArray::number(root) + " 0 R";
    if (info > 0)
        update += " /Info " + QByteArray::number(info) + " 0 R";
    update += " /Prev " + oldXref + " >>\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return file.write(update) == update.size() && file.flush();
}
