#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class QSocketNotifier;

// Logout and system shutdown end a Linux program with SIGTERM, SIGHUP or
// SIGINT. The handler only writes a byte to a pipe; the event loop picks it up
// and the window closes the normal way, so the book is saved as on any close.
// Windows ends a session with window messages instead: the end is asked
// (WM_QUERYENDSESSION), which the program grants, then announced
// (WM_ENDSESSION). The program may be stopped as soon as it has answered
// that, so the window closes while the message is handled.
class TerminationSignals : public QObject, public QAbstractNativeEventFilter
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

    static constexpr quint32 QueryEndSessionMessage = 0x0011;
    static constexpr quint32 EndSessionMessage = 0x0016;
    // One window message; true (with its answer in *result) when it is one
    // of the session's end.
    bool windowsMessage(quint32 message, quintptr wParam, qintptr* result);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    // signalNumber: 0 for the end of a Windows session.
    void terminationRequested(int signalNumber);

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
};
