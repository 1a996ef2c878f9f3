#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>

// A run's output as the run window shows it: whole lines, each decoded as UTF-8 when it is valid
// UTF-8 and as Windows-1252 otherwise (the input files' and DOS programs' code page), error output
// marked "! ". Only the last lines are kept and a very long line is cut, so that output of any size
// takes bounded memory and time in proportion to its length; the report file keeps everything.
class OutputLines {
public:
    enum class Channel { Output, Error };
    static constexpr int keptLines = 10000;
    // Fewer lines are kept when they are long: the view never holds more than this.
    static constexpr qsizetype keptBytes = 1 << 20;
    // Bytes of one line that are shown; the rest is counted, not kept.
    static constexpr qsizetype shownLineBytes = 2048;

    // What the view needs since the last take: the lines to add, or, when more than it keeps came
    // meanwhile, all of them anew; and the unfinished lines that follow them for now.
    struct Update {
        bool restart = false;
        qsizetype dropFirst = 0; // lines taken before that no longer fit
        QStringList lines;
        QStringList unfinished;
    };

    // A line break is LF, CR or CR LF, also when CR and LF come in two reads.
    void add(Channel channel, const QByteArray& bytes);
    // At the run's end: unfinished lines become lines.
    void finish();
    Update take();
    // Lines that no longer fit and were dropped from the front.
    qint64 droppedLines() const { return dropped_; }

    static QString decodeLine(const QByteArray& bytes);

private:
    // Kept undecoded: only the lines that are shown are ever decoded.
    struct Line {
        QByteArray bytes;
        qsizetype length = 0; // bytes.size() plus what was not kept
        Channel channel = Channel::Output;
    };
    struct Pending {
        Line line;
        bool afterCr = false;
    };

    void endLine(Pending& pending);
    static void appendToLine(Line& line, const char* data, qsizetype size);
    static QString shown(const Line& line);

    Pending output_, error_;
    std::deque<Line> lines_;
    qsizetype newLines_ = 0; // at the end of lines_, not taken yet
    qsizetype bytes_ = 0;    // of lines_
    qsizetype droppedTaken_ = 0;
    bool restart_ = false;
    qint64 dropped_ = 0;
};
