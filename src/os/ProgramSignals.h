#pragma once

#include <QObject>

class QSocketNotifier;

// The signals that end the program (TERM, HUP as at log-out, INT) and the end of a child, delivered on
// the event loop. A signal the program was started to ignore (nohup) stays ignored. One per process, made
// before any child process is started, so that QProcess's own child handling, installed later, passes the end
// of a child on to it.
class ProgramSignals : public QObject {
    Q_OBJECT
public:
    explicit ProgramSignals(QObject* parent = nullptr);
    ~ProgramSignals() override;

signals:
    void endRequested(int signal);
    void childEnded();

private:
    void readSignals();

    QSocketNotifier* notifier_;
};
