#pragma once

#include <QObject>

class QSocketNotifier;

// Logout and system shutdown end a Linux program with SIGTERM, SIGHUP or
// SIGINT. The handler only writes a byte to a pipe; the event loop picks it up
// and the window closes the normal way, so the book is saved as on any close.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool install();
    // A termination signal has arrived and the event loop has not yet taken
    // it up: long work on the window's thread asks this between steps and
    // stops, so that the program can end at once. Safe from any thread.
    static bool pending();

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
};
