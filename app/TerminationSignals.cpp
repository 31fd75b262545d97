#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write to a descriptor; the read end wakes the event loop.
int signalSockets[2] = {-1, -1};
constexpr std::array<int, 3> HandledSignals{SIGINT, SIGTERM, SIGHUP};

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (signalSockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    ::fcntl(signalSockets[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    install();
}

void TerminationSignals::install()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : HandledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : HandledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

void TerminationSignals::handle(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalSockets[1], &byte, 1);
}

void TerminationSignals::readPending()
{
    char byte = 0;
    if (::read(signalSockets[0], &byte, 1) == 1)
        emit received(static_cast<unsigned char>(byte));
}
