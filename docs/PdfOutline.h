#pragma once

#include <QList>
#include <QString>

// Bookmarks for a PDF written by QPdfWriter, which writes none: added as an incremental update, so the
// document's own bytes stay as they are.
class PdfOutline {
public:
    struct Entry {
        QString title;
        int level;  // 1 for the top level, 2 below it ...
        int page;   // from 0
        double top; // points from the top of the page
    };

    static bool addTo(const QString& pdfPath, const QList<Entry>& entries, double pageHeight);
};
