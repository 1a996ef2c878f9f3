// Renders the Markdown manual to PDF at staging time:
//   render_manual MANUAL.md PICTURES MANUAL.pdf
// Pictures named in the manual are taken from PICTURES. A table of contents with page numbers follows
// the title, and the headings become the PDF's bookmarks.
#include "PdfOutline.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <cstdio>

namespace {
constexpr int resolution = 300;
constexpr double pointsPerInch = 72.0;

struct Heading {
    QTextBlock block;
    int level;
};

// A heading's title and level, which outlive the document they were read from.
struct Section {
    QString title;
    int level;
};

// The headings below the title.
QList<Heading> headings(const QTextBlock& title) {
    QList<Heading> found;
    for (QTextBlock block = title.next(); block.isValid(); block = block.next())
        if (const int level = block.blockFormat().headingLevel(); level > 1)
            found << Heading{block, level};
    return found;
}

// Pictures in their full resolution, printed at about 110 pixels to the inch (sizes in a document are
// in pixels of a 96 dpi screen, whatever the device); a missing one fails the rendering. Resources only:
// editing the document after the Markdown import loses the paragraphs after its tables (Qt 6.4).
bool addPictures(QTextDocument& document, const QString& pictures) {
    bool complete = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            QImage image(pictures + QLatin1Char('/') + format.name());
            if (image.isNull()) {
                std::fprintf(stderr, "render_manual: no picture %s\n", qPrintable(format.name()));
                complete = false;
                continue;
            }
            image.setDevicePixelRatio(110.0 / 96);
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
        }
    }
    return complete;
}

// The manual with a table of contents after its title (its first line), with the pages given.
QString withContents(const QString& manual, const QList<Section>& found, const QList<int>& pages) {
    QString contents = QStringLiteral("\n\n**Contents**\n\n| Section | Page |\n| --- | --- |\n");
    for (qsizetype i = 0; i < found.size(); ++i)
        contents += QStringLiteral("| %1%2 | %3 |\n")
                        .arg(QStringLiteral("&nbsp;").repeated(4 * (found[i].level - 2)), found[i].title)
                        .arg(pages.value(i, 0) + 1);
    const qsizetype titleEnd = manual.indexOf(QLatin1Char('\n'));
    return manual.left(titleEnd) + contents + manual.mid(titleEnd);
}

int pageOf(const QTextDocument& document, const QTextBlock& block) {
    return int(document.documentLayout()->blockBoundingRect(block).top() / document.pageSize().height());
}

// The first table whose heading ends a page, apart from its rows, counted from the document's start;
// -1 when there is none.
int tableWithHeadingAlone(const QTextDocument& document) {
    int index = 0;
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    for (QTextFrame* frame : frames) {
        const auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        if (table->rows() > 1 && pageOf(document, table->cellAt(0, 0).firstCursorPosition().block()) !=
                                     pageOf(document, table->cellAt(1, 0).firstCursorPosition().block()))
            return index;
        ++index;
    }
    return -1;
}

// An empty paragraph before the index-th table of the Markdown text moves the table down by a line.
QString withLineBeforeTable(const QString& markdown, int index) {
    QStringList lines = markdown.split(QLatin1Char('\n'));
    int tables = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool row = lines[i].startsWith(QLatin1Char('|'));
        if (row && (i == 0 || !lines[i - 1].startsWith(QLatin1Char('|'))) && ++tables == index) {
            lines.insert(i, QStringLiteral("&nbsp;\n"));
            break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// Laid out from the Markdown text alone (see addPictures). A table whose heading would end a page is
// moved down a line at a time until the heading stands above its first rows.
bool lay(QTextDocument& document, const QString& markdown, const QString& pictures, const QSizeF& page) {
    QString text = markdown;
    bool complete = false;
    // A row taller than a page could never join its heading: a page's worth of lines is enough.
    for (int moved = 0; moved <= 60; ++moved) {
        document.setMarkdown(text);
        complete = addPictures(document, pictures);
        document.setPageSize(page);
        const int table = tableWithHeadingAlone(document);
        if (table < 0)
            break;
        text = withLineBeforeTable(text, table);
    }
    return complete;
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: render_manual MANUAL.md PICTURES MANUAL.pdf\n", stderr);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "render_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[3]);
    QPdfWriter pdf(output);
    pdf.setResolution(resolution);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 25), QPageLayout::Millimeter);
    pdf.setTitle(QStringLiteral("Tolvik user manual"));
    pdf.setCreator(QStringLiteral("Tolvik"));

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&pdf);
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    // Any spacing turns ligatures off: "fi" stays two letters, for searching and copying.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    document.setDefaultFont(font);
    const QString manual = QString::fromUtf8(source.readAll());
    const QString pictures = QString::fromLocal8Bit(argv[2]);
    const QRectF text = pdf.pageLayout().paintRectPixels(resolution);
    // Laid out once with the contents' page numbers still unknown, to learn them: the contents take
    // the same room either way.
    document.setMarkdown(manual);
    QList<Section> sections;
    for (const Heading& heading : headings(document.begin()))
        sections << Section{heading.block.text(), heading.level};
    if (!lay(document, withContents(manual, sections, {}), pictures, text.size()))
        return 1;
    QList<Heading> found = headings(document.begin());
    QList<int> pages;
    for (const Heading& heading : found)
        pages << pageOf(document, heading.block);
    lay(document, withContents(manual, sections, pages), pictures, text.size());
    found = headings(document.begin());
    document.print(&pdf);
    if (!QFileInfo(output).isFile()) {
        std::fprintf(stderr, "render_manual: cannot write %s\n", argv[3]);
        return 1;
    }

    const double top = pdf.pageLayout().margins(QPageLayout::Point).top();
    QList<PdfOutline::Entry> outline;
    for (const Heading& heading : found) {
        const double y = document.documentLayout()->blockBoundingRect(heading.block).top();
        const int page = pageOf(document, heading.block);
        outline << PdfOutline::Entry{heading.block.text(), heading.level - 1, page,
                                     top + (y - page * text.height()) * pointsPerInch / resolution};
    }
    const double pageHeight = pdf.pageLayout().fullRect(QPageLayout::Point).height();
    if (!PdfOutline::addTo(output, outline, pageHeight)) {
        std::fprintf(stderr, "render_manual: cannot add the bookmarks to %s\n", argv[3]);
        return 1;
    }
    return 0;
}
