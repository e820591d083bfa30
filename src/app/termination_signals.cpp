#include "app/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
namespace {

// A signal handler may touch nothing but this descriptor; it is written once
// in install() before any handler can run and never changed afterwards.
int g_signalWriteFd = -1;
// Set by the handler, cleared when the event loop takes the signal up.
volatile std::sig_atomic_t g_pending = 0;

void onSignal(int signalNumber)
{
    g_pending = 1;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t n = ::write(g_signalWriteFd, &byte, 1);
}

} // namespace
#endif

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}

TerminationSignals::~TerminationSignals() = default;

bool TerminationSignals::install()
{
#ifdef Q_OS_UNIX
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    g_signalWriteFd = fds[1];
    m_notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t handled;
    sigemptyset(&handled);
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        ::sigaction(sig, &action, nullptr);
        sigaddset(&handled, sig);
    }
    // A parent that started us with these blocked would keep the session's
    // end from ever reaching us; one already pending arrives here, handled.
    ::sigprocmask(SIG_UNBLOCK, &handled, nullptr);
    return true;
#elif defined(Q_OS_WIN)
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
#else
    return false;
#endif
}

bool TerminationSignals::windowsMessage(quint32 message, quintptr wParam, qintptr* result)
{
    if (message == QueryEndSessionMessage) {
        *result = 1;
        return true;
    }
    if (message != EndSessionMessage)
        return false;
    // wParam 0: another program refused, and the session goes on.
    if (wParam != 0)
        Q_EMIT terminationRequested(0);
    *result = 0;
    return true;
}

bool TerminationSignals::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* result)
{
#ifdef Q_OS_WIN
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    return windowsMessage(msg->message, msg->wParam, result);
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
    Q_UNUSED(result);
    return false;
#endif
}

bool TerminationSignals::pending()
{
#ifdef Q_OS_UNIX
    return g_pending != 0;
#else
    return false;
#endif
}

void TerminationSignals::onReadable()
{
#ifdef Q_OS_UNIX
    unsigned char byte = 0;
    if (::read(static_cast<int>(m_notifier->socket()), &byte, 1) == 1) {
        g_pending = 0;
        Q_EMIT terminationRequested(byte);
    }
#endif
}
